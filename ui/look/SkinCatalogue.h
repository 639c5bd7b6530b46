#pragma once

#include <optional>
#include <string>

#include "ui/look/SkinLook.h"

namespace vantrel {

constexpr int kSkinCount = 8;

// Where the look of a skin index comes from: one of the built-in styles, a skin file, or
// nothing (an index outside 0 to 7, which selects no skin).
struct SkinSource {
    std::optional<SkinLook> builtIn;
    std::string fileName;  // empty unless the look is a file's
    bool IsNone() const { return !builtIn && fileName.empty(); }
};

// 0 "md_aswood.sui", 1 "RealOne.sui", 2 Win XP, 3 Deep Blue, 4 Protein, 5 "royale.sui",
// 6 "matrix.sui", 7 "DiamondBlue.sui".
SkinSource SkinSourceOf(int skinIndex);

// The three built-in styles.
SkinLook WinXpLook();
SkinLook DeepBlueLook();
SkinLook ProteinLook();

}  // namespace vantrel
