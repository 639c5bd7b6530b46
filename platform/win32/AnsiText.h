#pragma once

#include <string>
#include <string_view>

namespace vantrel {

// UTF-16 text in the ANSI code page. `exact` is false when some character had no ANSI form and
// was replaced by the code page's default character ('?'), so the text is not a faithful copy.
struct AnsiText {
    std::string text;
    bool exact = true;
};

// Converts without best-fit mapping (which would silently turn, say, an "ﬁ" ligature into
// "fi" and make a different name look right), so every loss is reported. Embedded zeros are
// kept.
AnsiText ToAnsi(std::wstring_view wide);

// Converts ANSI text to UTF-16; embedded zeros are kept.
std::wstring ToWide(std::string_view ansi);

}  // namespace vantrel
