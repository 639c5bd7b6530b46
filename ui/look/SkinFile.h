#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/look/SkinLook.h"

namespace vantrel {

// Reads a skin file (".sui", described in skins/README.md). A file that breaks any rule of the
// format gives nothing: a look is taken whole or not at all.
std::optional<SkinLook> ParseSkinFile(std::string_view text);

// The first of `paths` that is a file is parsed; nothing when none can be read or the one
// read is malformed (the later paths are not tried then: the file found is the one meant).
std::optional<SkinLook> LoadSkinFile(const std::vector<std::string>& paths);

// "#RRGGBB", as the files write colours.
std::string ColourText(const Rgb& colour);

}  // namespace vantrel
