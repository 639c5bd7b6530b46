#include "ui/look/SkinCatalogue.h"

namespace vantrel {
namespace {

constexpr Rgb Colour(uint32_t rgb) {
    return Rgb{static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8),
               static_cast<uint8_t>(rgb)};
}

}  // namespace

// Close to the classic Windows XP colours: silver surfaces, a royal blue selection, black text.
SkinLook WinXpLook() {
    SkinLook look;
    look.name = "Win XP";
    look.window = Colour(0xECE9D8);
    look.windowText = Colour(0x000000);
    look.link = Colour(0x0033CC);
    look.face = Colour(0xDDE6F7);
    look.faceText = Colour(0x000000);
    look.highlight = Colour(0x316AC5);
    look.highlightText = Colour(0xFFFFFF);
    look.title = Colour(0xEBEADB);
    look.titleText = Colour(0x000000);
    look.list = Colour(0xFFFFFF);
    look.listText = Colour(0x000000);
    look.tree = Colour(0xFFFFFF);
    look.treeText = Colour(0x0000FF);
    look.button = Colour(0xF4F3EE);
    look.buttonText = Colour(0x000000);
    look.progress = Colour(0x2FB334);
    look.font = SkinFont{"Tahoma", 8, false};
    return look;
}

// Night blue surfaces with light text, a bright cyan selection.
SkinLook DeepBlueLook() {
    SkinLook look;
    look.name = "Deep Blue";
    look.window = Colour(0x16325C);
    look.windowText = Colour(0xE8F0FF);
    look.link = Colour(0x8FD3FF);
    look.face = Colour(0x0F2444);
    look.faceText = Colour(0xFFFFFF);
    look.highlight = Colour(0x4FC3F7);
    look.highlightText = Colour(0x061A33);
    look.title = Colour(0x24497F);
    look.titleText = Colour(0xFFFFFF);
    look.list = Colour(0x0B1E3A);
    look.listText = Colour(0xD6E4FF);
    look.tree = Colour(0x0B1E3A);
    look.treeText = Colour(0xA9D4FF);
    look.button = Colour(0x2B5A9E);
    look.buttonText = Colour(0xFFFFFF);
    look.progress = Colour(0x4FC3F7);
    look.font = SkinFont{"Tahoma", 8, false};
    return look;
}

// Pink and plum: a rose window, a deep plum tool bar, a green selection.
SkinLook ProteinLook() {
    SkinLook look;
    look.name = "Protein";
    look.window = Colour(0xE8B9CF);
    look.windowText = Colour(0x3D1230);
    look.link = Colour(0x8A1257);
    look.face = Colour(0x5B1F4A);
    look.faceText = Colour(0xFFEAF6);
    look.highlight = Colour(0x2E7D32);
    look.highlightText = Colour(0xFFFFFF);
    look.title = Colour(0xE3B7CC);
    look.titleText = Colour(0x3D1230);
    look.list = Colour(0xFFF4F9);
    look.listText = Colour(0x2B1A24);
    look.tree = Colour(0xF7D6E5);
    look.treeText = Colour(0x6A1B5A);
    look.button = Colour(0xE9C6D8);
    look.buttonText = Colour(0x3D1230);
    look.progress = Colour(0xE05A9C);
    look.font = SkinFont{"Tahoma", 8, false};
    return look;
}

SkinSource SkinSourceOf(int skinIndex) {
    switch (skinIndex) {
        case 0:
            return SkinSource{std::nullopt, "md_aswood.sui"};
        case 1:
            return SkinSource{std::nullopt, "RealOne.sui"};
        case 2:
            return SkinSource{WinXpLook(), {}};
        case 3:
            return SkinSource{DeepBlueLook(), {}};
        case 4:
            return SkinSource{ProteinLook(), {}};
        case 5:
            return SkinSource{std::nullopt, "royale.sui"};
        case 6:
            return SkinSource{std::nullopt, "matrix.sui"};
        case 7:
            return SkinSource{std::nullopt, "DiamondBlue.sui"};
        default:
            return SkinSource{};
    }
}

}  // namespace vantrel
