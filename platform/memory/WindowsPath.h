#pragma once

// How MemoryFileSystem reads a path the way Windows does. Private to platform/memory.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

struct WindowsPath {
    char drive = 'c';  // lower case
    // The names below the drive's root after "." and ".." are resolved and trimmed: the last
    // name of a text not ending with a separator loses its trailing dots and blanks, every
    // other name one trailing dot.
    std::vector<std::string> components;
    // The text ended with a separator: only a folder can be named so.
    bool trailingSeparator = false;
};

// Reads "x:\..." (or "x:..." taken from the root) shorter than MAX_PATH. Both "\" and "/" separate,
// as in the system's own path handling. nullopt for any other form (relative, UNC, device paths)
// and for names holding a character that no file name may hold.
std::optional<WindowsPath> ParseWindowsPath(std::string_view text);

}  // namespace vantrel
