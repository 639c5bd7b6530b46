#include "platform/memory/WindowsPath.h"

#include "platform/TextCase.h"

namespace vantrel {
namespace {

// MAX_PATH with its terminating zero: the longest path the system takes without the long-path
// prefix.
constexpr size_t kMaxPathChars = 260;

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

bool IsDriveLetter(char c) {
    const char lower = LowerAscii(c);
    return lower >= 'a' && lower <= 'z';
}

// Characters the system refuses in a name (the drive's colon is already consumed).
bool IsForbiddenInName(char c) {
    if (static_cast<unsigned char>(c) < 32)
        return true;
    switch (c) {
        case '<':
        case '>':
        case ':':
        case '"':
        case '|':
        case '?':
        case '*':
            return true;
        default:
            return false;
    }
}

std::string_view WithoutTrailingDotsAndBlanks(std::string_view name) {
    while (!name.empty() && (name.back() == '.' || name.back() == ' '))
        name.remove_suffix(1);
    return name;
}

// The system's trimming: the last name of a path that does not end with a separator loses all
// its trailing dots and blanks; every other name loses one trailing dot ("dir.\x" is "dir\x",
// but "dir \x" and "dir..\x" are other names).
std::string_view TrimmedName(std::string_view name, bool lastOfPath) {
    if (lastOfPath)
        return WithoutTrailingDotsAndBlanks(name);
    if (!name.empty() && name.back() == '.')
        name.remove_suffix(1);
    return name;
}

bool IsAllDots(std::string_view name) {
    return name.find_first_not_of('.') == std::string_view::npos;
}

std::vector<std::string_view> SplitNames(std::string_view text) {
    std::vector<std::string_view> names;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = start;
        while (end < text.size() && !IsSeparator(text[end]))
            ++end;
        if (end > start)
            names.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return names;
}

}  // namespace

std::optional<WindowsPath> ParseWindowsPath(std::string_view text) {
    if (text.size() < 2 || text.size() >= kMaxPathChars || !IsDriveLetter(text[0]) ||
        text[1] != ':') {
        return std::nullopt;
    }
    WindowsPath path;
    path.drive = LowerAscii(text[0]);
    const std::string_view rest = text.substr(2);
    path.trailingSeparator = !rest.empty() && IsSeparator(rest.back());
    const auto names = SplitNames(rest);
    for (size_t i = 0; i < names.size(); ++i) {
        const std::string_view name = names[i];
        if (name == ".")
            continue;
        if (name == "..") {
            // Above the root is the root, as the system's own normalisation has it.
            if (!path.components.empty())
                path.components.pop_back();
            continue;
        }
        const bool lastOfPath = i + 1 == names.size() && !path.trailingSeparator;
        const std::string_view kept = TrimmedName(name, lastOfPath);
        if (kept.empty() && lastOfPath)
            continue;  // "x\. ." names x itself
        // A name of dots alone ("..." less its dot) is no file's name.
        if (IsAllDots(kept))
            return std::nullopt;
        for (const char c : kept) {
            if (IsForbiddenInName(c))
                return std::nullopt;
        }
        path.components.emplace_back(kept);
    }
    if (path.components.empty())
        path.trailingSeparator = false;
    return path;
}

}  // namespace vantrel
