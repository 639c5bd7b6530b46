#include "scan/ListablePath.h"

#include <array>

#include "platform/TextCase.h"

namespace vantrel {

namespace {

// The system's MAX_PATH counts the closing zero.
constexpr size_t kMaxPathChars = 259;
// Characters with a meaning of their own to the system's path parser or to directory searches
// ("<", ">" and '"' are wildcards there too), and "~", which marks short names.
constexpr std::string_view kUnlistableChars = "/*?:<>\"|~";

bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsPrintableAscii(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 0x20 && byte < 0x7f;
}

bool HasOnlyListableChars(std::string_view text) {
    for (const char c : text) {
        if (!IsPrintableAscii(c) || kUnlistableChars.find(c) != std::string_view::npos)
            return false;
    }
    return true;
}

bool IsPlainName(std::string_view name) {
    if (name.empty() || name == "." || name == "..")
        return false;
    if (name.back() == '.' || name.back() == ' ')
        return false;
    return !IsDeviceName(name);
}

bool AllComponentsArePlain(std::string_view components) {
    while (true) {
        const size_t separator = components.find('\\');
        if (!IsPlainName(components.substr(0, separator)))
            return false;
        if (separator == std::string_view::npos)
            return true;
        components.remove_prefix(separator + 1);
    }
}

constexpr std::string_view kSeparators = "\\/";

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

bool IsPlainAsciiPath(std::string_view path) {
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == 0 || byte >= 0x80)
            return false;
    }
    return true;
}

bool IsOnlyDotsAndBlanks(std::string_view name) {
    return name.find_first_not_of(". ") == std::string_view::npos;
}

}  // namespace

std::optional<std::string_view> ParentFolderOf(std::string_view path) {
    if (!IsPlainAsciiPath(path))
        return std::nullopt;
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]))
        return std::nullopt;
    std::string_view trimmed = path;
    while (!trimmed.empty() && IsSeparator(trimmed.back()))
        trimmed.remove_suffix(1);
    const size_t separator = trimmed.find_last_of(kSeparators);
    if (separator == std::string_view::npos)
        return std::nullopt;
    const std::string_view name = trimmed.substr(separator + 1);
    if (IsOnlyDotsAndBlanks(name) || IsDeviceName(name))
        return std::nullopt;
    return trimmed.substr(0, separator + 1);
}

bool IsDeviceName(std::string_view name) {
    std::string_view base = name.substr(0, name.find_first_of(".:"));
    while (!base.empty() && base.back() == ' ')
        base.remove_suffix(1);
    static constexpr std::array<std::string_view, 6> kDevices = {"CON", "PRN",    "AUX",
                                                                 "NUL", "CONIN$", "CONOUT$"};
    for (const std::string_view device : kDevices) {
        if (EqualsIgnoreCase(base, device))
            return true;
    }
    const bool numberedPort =
        base.size() == 4 && base[3] >= '0' && base[3] <= '9' &&
        (StartsWithIgnoreCase(base, "COM") || StartsWithIgnoreCase(base, "LPT"));
    return numberedPort;
}

std::optional<ListablePath> SplitListablePath(std::string_view path) {
    if (path.size() > kMaxPathChars || path.size() < 4)
        return std::nullopt;
    if (!IsAsciiLetter(path[0]) || path[1] != ':' || path[2] != '\\')
        return std::nullopt;
    ListablePath split;
    std::string_view body = path;
    if (body.back() == '\\') {
        split.trailingSeparator = true;
        body.remove_suffix(1);
    }
    const std::string_view components = body.substr(3);
    if (!HasOnlyListableChars(components) || !AllComponentsArePlain(components))
        return std::nullopt;
    const size_t lastSeparator = body.rfind('\\');
    split.folder = body.substr(0, lastSeparator + 1);
    split.name = body.substr(lastSeparator + 1);
    return split;
}

}  // namespace vantrel
