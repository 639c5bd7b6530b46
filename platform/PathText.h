#pragma once

#include <string>
#include <string_view>

namespace vantrel {

// The text with one closing backslash taken off, if it has one ("Software\A\" gives
// "Software\A").
std::string_view WithoutTrailingBackslash(std::string_view path);

// The folder with a closing backslash, added unless it has one ("" gives "\").
std::string WithTrailingBackslash(std::string_view folder);

}  // namespace vantrel
