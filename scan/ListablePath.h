#pragma once

#include <optional>
#include <string_view>

namespace vantrel {

// CON, NUL, COM1, LPT9.txt and the like: names of devices that exist in every folder.
bool IsDeviceName(std::string_view name);

// A path split into the folder that holds its last entry and that entry's name.
struct ListablePath {
    std::string_view folder;  // up to and including the last backslash ("C:\" for a root entry)
    std::string_view name;
    bool trailingSeparator = false;  // the path ended with one backslash after the name
};

// Splits a path whose answer a listing of its folder gives exactly as the system would: an
// absolute drive path shorter than MAX_PATH, of printable ASCII, whose every component is a
// plain name. Anything the system resolves by rules a listing does not show gives nullopt:
// "." and "..", trailing dots and blanks (trimmed by the system), "~" (8.3 aliases are not
// listed), wildcards, streams, device names, forward slashes, repeated separators, network and
// device paths, relative paths.
std::optional<ListablePath> SplitListablePath(std::string_view path);

}  // namespace vantrel
