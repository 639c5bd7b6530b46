#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vantrel {

struct Rgb {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    friend bool operator==(const Rgb& a, const Rgb& b) {
        return a.red == b.red && a.green == b.green && a.blue == b.blue;
    }
    friend bool operator!=(const Rgb& a, const Rgb& b) { return !(a == b); }
};

struct SkinFont {
    std::string name = "MS Sans Serif";
    int pointSize = 8;
    bool bold = false;
    friend bool operator==(const SkinFont& a, const SkinFont& b) {
        return a.name == b.name && a.pointSize == b.pointSize && a.bold == b.bold;
    }
};

// One look of the windows: a colour for each kind of surface and for the text drawn on it, and
// the font of the controls. Each "...Text" colour is drawn on the surface before it.
struct SkinLook {
    std::string name;
    Rgb window;  // window and dialog backgrounds, labels, group boxes, check boxes
    Rgb windowText;
    Rgb link;  // clickable addresses, drawn on `window`
    Rgb face;  // the tool bar and the status bar
    Rgb faceText;
    Rgb highlight;  // the selected row of the list and the tree; a pressed button
    Rgb highlightText;
    Rgb title;  // column headers
    Rgb titleText;
    Rgb list;  // the results list, edit fields and list boxes
    Rgb listText;
    Rgb tree;  // the category tree
    Rgb treeText;
    Rgb button;  // push buttons
    Rgb buttonText;
    Rgb progress;  // the filled part of progress bars (drawn on `face`)
    SkinFont font;
};

}  // namespace vantrel
