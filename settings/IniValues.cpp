#include "settings/IniValues.h"

#include <limits>

namespace vantrel {

namespace {

std::optional<int> DigitValue(char c, int base) {
    int value = -1;
    if (c >= '0' && c <= '9')
        value = c - '0';
    else if (c >= 'a' && c <= 'f')
        value = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        value = c - 'A' + 10;
    if (value < 0 || value >= base)
        return std::nullopt;
    return value;
}

// The digits as a magnitude, or nullopt when one is not a digit of the base or the number
// passes `limit`.
std::optional<int64_t> ParseMagnitude(std::string_view digits, int base, int64_t limit) {
    if (digits.empty())
        return std::nullopt;
    int64_t magnitude = 0;
    for (const char c : digits) {
        const auto digit = DigitValue(c, base);
        if (!digit)
            return std::nullopt;
        magnitude = magnitude * base + *digit;
        if (magnitude > limit)
            return std::nullopt;
    }
    return magnitude;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

std::optional<int32_t> ParseIniInteger(std::string_view text) {
    constexpr int64_t kMax = std::numeric_limits<int32_t>::max();
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        const auto magnitude = ParseMagnitude(text.substr(2), 16, kMax);
        if (!magnitude)
            return std::nullopt;
        return static_cast<int32_t>(*magnitude);
    }
    bool negative = false;
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    const auto magnitude = ParseMagnitude(text, 10, negative ? kMax + 1 : kMax);
    if (!magnitude)
        return std::nullopt;
    return static_cast<int32_t>(negative ? -*magnitude : *magnitude);
}

std::string EncodeIniText(std::string_view text) {
    const bool blankAtEdge = !text.empty() && (IsBlank(text.front()) || IsBlank(text.back()));
    const bool enclosedInQuotes = text.size() >= 2 &&
                                  (text.front() == '"' || text.front() == '\'') &&
                                  text.back() == text.front();
    if (!blankAtEdge && !enclosedInQuotes)
        return std::string(text);
    return "\"" + std::string(text) + "\"";
}

}  // namespace vantrel
