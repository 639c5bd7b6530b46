#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/SkinLooks.h"
#include "ui/look/Contrast.h"
#include "ui/look/SkinCatalogue.h"
#include "ui/look/SkinFile.h"

namespace vantrel {
namespace {

// The eight looks by index: the built-in styles, and the files as the build ships them.
SkinLook LookOfIndex(int index) {
    return test::LookOfIndex(index, std::string(VANTREL_SKINS_DIR) + "/");
}

TEST(SkinCatalogue, IndexesInMenuOrder) {
    const char* const kFiles[kSkinCount] = {
        "md_aswood.sui", "RealOne.sui", "", "", "", "royale.sui", "matrix.sui", "DiamondBlue.sui"};
    const char* const kBuiltIn[kSkinCount] = {"", "", "Win XP", "Deep Blue", "Protein", "", "", ""};
    for (int index = 0; index < kSkinCount; ++index) {
        const SkinSource source = SkinSourceOf(index);
        EXPECT_EQ(source.fileName, kFiles[index]) << "index " << index;
        EXPECT_EQ(source.builtIn ? source.builtIn->name : "", kBuiltIn[index]) << "index " << index;
    }
    for (const int outside : {-1, 8, 100})
        EXPECT_TRUE(SkinSourceOf(outside).IsNone()) << "index " << outside;
}

TEST(Contrast, RatiosOfKnownPairs) {
    const Rgb black{0, 0, 0};
    const Rgb white{255, 255, 255};
    EXPECT_DOUBLE_EQ(ContrastRatio(black, white), 21.0);
    EXPECT_DOUBLE_EQ(ContrastRatio(white, black), 21.0);
    EXPECT_DOUBLE_EQ(ContrastRatio(white, white), 1.0);
    // The two greys on either side of the 4.5 line on white.
    EXPECT_LT(ContrastRatio(Rgb{0x77, 0x77, 0x77}, white), 4.5);
    EXPECT_GT(ContrastRatio(Rgb{0x76, 0x76, 0x76}, white), 4.5);
    EXPECT_NEAR(ContrastRatio(Rgb{0, 0, 255}, white), 8.59, 0.01);
}

TEST(SkinLooks, EveryTextOfEveryLookIsReadable) {
    for (int index = 0; index < kSkinCount; ++index) {
        const SkinLook look = LookOfIndex(index);
        for (const TextOnSurface& pair : TextPairsOf(look)) {
            const double ratio = ContrastRatio(pair.text, pair.surface);
            EXPECT_GE(ratio, 4.5) << look.name << ": " << pair.what << " " << ColourText(pair.text)
                                  << " on " << ColourText(pair.surface);
        }
        const TextOnSurface least = LeastReadablePair(look);
        std::printf("skin %d %-12s window %s face %s list %s highlight %s  lowest %.2f:1 (%s)\n",
                    index, look.name.c_str(), ColourText(look.window).c_str(),
                    ColourText(look.face).c_str(), ColourText(look.list).c_str(),
                    ColourText(look.highlight).c_str(), ContrastRatio(least.text, least.surface),
                    std::string(least.what).c_str());
    }
}

int Distance(const Rgb& a, const Rgb& b) {
    return std::abs(a.red - b.red) + std::abs(a.green - b.green) + std::abs(a.blue - b.blue);
}

// Two looks are told apart at a glance when most of their large surfaces differ plainly.
TEST(SkinLooks, EveryTwoLooksDifferInMostLargeSurfaces) {
    constexpr int kPlainDifference = 60;
    std::vector<SkinLook> looks;
    for (int index = 0; index < kSkinCount; ++index)
        looks.push_back(LookOfIndex(index));
    for (size_t a = 0; a < looks.size(); ++a) {
        for (size_t b = a + 1; b < looks.size(); ++b) {
            int differing = 0;
            for (Rgb SkinLook::*surface : {&SkinLook::window, &SkinLook::face, &SkinLook::list,
                                           &SkinLook::highlight, &SkinLook::tree}) {
                if (Distance(looks[a].*surface, looks[b].*surface) >= kPlainDifference)
                    ++differing;
            }
            EXPECT_GE(differing, 3) << looks[a].name << " and " << looks[b].name;
        }
    }
}

}  // namespace
}  // namespace vantrel
