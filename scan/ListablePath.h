#pragma once

#include <optional>
#include <string_view>

namespace vantrel {

// CON, NUL, COM1, LPT9.txt and the like: names of devices that exist in every folder.
bool IsDeviceName(std::string_view name);

// The folder, with its closing separator, in which path names an entry; nullopt when the path
// does not plainly name an entry inside a folder (a drive root, ".", "..", a device, a network or
// device path, or text whose bytes could be read otherwise in a double-byte code page). Nothing
// can be found at such a path when its folder does not exist, by the system's own rules.
std::optional<std::string_view> ParentFolderOf(std::string_view path);

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
