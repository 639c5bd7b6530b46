#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

// A settings integer: decimal text with an optional sign, or "0x" / "0X" and hexadecimal
// digits. Anything else, including a number outside 32 bits, is not an integer.
std::optional<int32_t> ParseIniInteger(std::string_view text);

// The text to write so that reading the key gives `text` back exactly, although the profile
// functions strip blanks around a value and a pair of enclosing quotes: such a text is wrapped in
// one more pair of double quotes. Every other text is written unchanged.
std::string EncodeIniText(std::string_view text);

}  // namespace vantrel
