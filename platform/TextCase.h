#pragma once

#include <string>
#include <string_view>

namespace vantrel {

// Case folding of the letters a to z only: the program's text is ANSI, and registry names and
// file names are compared this way throughout.
char UpperAscii(char c);
char LowerAscii(char c);
std::string UpperAscii(std::string_view text);
std::string LowerAscii(std::string_view text);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);
// Position of the first occurrence of needle in haystack, letter case of a to z ignored.
std::string_view::size_type FindIgnoreCase(std::string_view haystack, std::string_view needle);
bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix);
bool EndsWithIgnoreCase(std::string_view text, std::string_view suffix);

// The text without the spaces and tabs at its ends.
std::string_view TrimBlanks(std::string_view text);

}  // namespace vantrel
