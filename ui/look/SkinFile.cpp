#include "ui/look/SkinFile.h"

#include <array>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

namespace vantrel {
namespace {

constexpr std::string_view kHeader = "vantrel-skin 1";
// A skin file is a few dozen lines; anything far larger is not one.
constexpr size_t kLargestFile = 64 * 1024;
constexpr int kSmallestPointSize = 6;
constexpr int kLargestPointSize = 12;

struct ColourKey {
    std::string_view key;
    Rgb SkinLook::*member;
};

constexpr std::array<ColourKey, 16> kColourKeys{{
    {"window", &SkinLook::window},
    {"window-text", &SkinLook::windowText},
    {"link", &SkinLook::link},
    {"face", &SkinLook::face},
    {"face-text", &SkinLook::faceText},
    {"highlight", &SkinLook::highlight},
    {"highlight-text", &SkinLook::highlightText},
    {"title", &SkinLook::title},
    {"title-text", &SkinLook::titleText},
    {"list", &SkinLook::list},
    {"list-text", &SkinLook::listText},
    {"tree", &SkinLook::tree},
    {"tree-text", &SkinLook::treeText},
    {"button", &SkinLook::button},
    {"button-text", &SkinLook::buttonText},
    {"progress", &SkinLook::progress},
}};

std::string_view Trimmed(std::string_view text) {
    const auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::optional<int> HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return std::nullopt;
}

std::optional<Rgb> ParseColour(std::string_view text) {
    if (text.size() != 7 || text[0] != '#')
        return std::nullopt;
    std::array<uint8_t, 3> parts{};
    for (size_t part = 0; part < 3; ++part) {
        const auto high = HexDigit(text[1 + 2 * part]);
        const auto low = HexDigit(text[2 + 2 * part]);
        if (!high || !low)
            return std::nullopt;
        parts[part] = static_cast<uint8_t>(*high * 16 + *low);
    }
    return Rgb{parts[0], parts[1], parts[2]};
}

// "NAME, SIZE" or "NAME, SIZE, bold".
std::optional<SkinFont> ParseFont(std::string_view text) {
    const size_t comma = text.find(',');
    if (comma == std::string_view::npos)
        return std::nullopt;
    SkinFont font;
    font.name = std::string(Trimmed(text.substr(0, comma)));
    std::string_view rest = text.substr(comma + 1);
    const size_t secondComma = rest.find(',');
    const std::string_view size = Trimmed(rest.substr(0, secondComma));
    if (secondComma != std::string_view::npos) {
        if (Trimmed(rest.substr(secondComma + 1)) != "bold")
            return std::nullopt;
        font.bold = true;
    }
    // A face name of LOGFONT is at most 31 characters.
    if (font.name.empty() || font.name.size() > 31)
        return std::nullopt;
    const auto [end, error] =
        std::from_chars(size.data(), size.data() + size.size(), font.pointSize);
    if (error != std::errc() || end != size.data() + size.size() ||
        font.pointSize < kSmallestPointSize || font.pointSize > kLargestPointSize)
        return std::nullopt;
    return font;
}

const ColourKey* FindColourKey(std::string_view key) {
    for (const ColourKey& entry : kColourKeys) {
        if (entry.key == key)
            return &entry;
    }
    return nullptr;
}

// Applies one "key = value" line; false when the line breaks a rule.
bool ApplyLine(std::string_view key, std::string_view value, SkinLook& look) {
    if (key == "name") {
        if (value.empty())
            return false;
        look.name = std::string(value);
        return true;
    }
    if (key == "font") {
        const auto font = ParseFont(value);
        if (!font)
            return false;
        look.font = *font;
        return true;
    }
    const ColourKey* colourKey = FindColourKey(key);
    if (colourKey == nullptr)
        return false;
    const auto colour = ParseColour(value);
    if (!colour)
        return false;
    look.*(colourKey->member) = *colour;
    return true;
}

}  // namespace

std::optional<SkinLook> ParseSkinFile(std::string_view text) {
    if (text.size() > kLargestFile || text.find('\0') != std::string_view::npos)
        return std::nullopt;
    SkinLook look;
    std::set<std::string, std::less<>> seen;
    bool headerSeen = false;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view line = Trimmed(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.empty() || line.front() == '#' || line.front() == ';')
            continue;
        if (!headerSeen) {
            if (line != kHeader)
                return std::nullopt;
            headerSeen = true;
            continue;
        }
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            return std::nullopt;
        const std::string_view key = Trimmed(line.substr(0, equals));
        const std::string_view value = Trimmed(line.substr(equals + 1));
        if (!seen.insert(std::string(key)).second || !ApplyLine(key, value, look))
            return std::nullopt;
    }
    // Every colour is required: a look with a colour left over from another would be a mix.
    if (!headerSeen || seen.count("name") == 0)
        return std::nullopt;
    for (const ColourKey& entry : kColourKeys) {
        if (seen.count(entry.key) == 0)
            return std::nullopt;
    }
    return look;
}

std::optional<SkinLook> LoadSkinFile(const std::vector<std::string>& paths) {
    for (const std::string& path : paths) {
        std::error_code error;
        if (!std::filesystem::is_regular_file(path, error))
            continue;
        std::ifstream in(path, std::ios::binary);
        if (!in)
            continue;
        std::string text;
        // One byte more than the largest file, so that a larger one is seen as such.
        text.resize(kLargestFile + 1);
        in.read(text.data(), static_cast<std::streamsize>(text.size()));
        text.resize(static_cast<size_t>(in.gcount()));
        if (in.bad())
            return std::nullopt;
        return ParseSkinFile(text);
    }
    return std::nullopt;
}

std::string ColourText(const Rgb& colour) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text = "#";
    for (const uint8_t part : {colour.red, colour.green, colour.blue}) {
        text += kDigits[part >> 4];
        text += kDigits[part & 0xF];
    }
    return text;
}

}  // namespace vantrel
