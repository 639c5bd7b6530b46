#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

// The one place where key paths, key texts and file paths are put together.

// The text with one closing backslash taken off, if it has one ("Software\A\" gives
// "Software\A").
std::string_view WithoutTrailingBackslash(std::string_view path);

// The folder with a closing backslash, added unless it has one ("" gives "\").
std::string WithTrailingBackslash(std::string_view folder);

// A key's path below the root from its parent's path and its name: "parent\name", or the name
// alone below the root (an empty parent). An empty name gives "parent\", the key text form of a
// key's default value.
std::string JoinKeyPath(std::string_view parentPath, std::string_view name);

// The names of a key path in order; empty segments (doubled, leading or closing backslashes)
// are left out ("\\Software\\\\A\\" gives "Software", "A").
std::vector<std::string_view> SplitKeyPath(std::string_view path);

// The segments joined with single backslashes: SplitKeyPath's inverse.
std::string JoinKeySegments(const std::vector<std::string_view>& segments);

// The text a user sees for a key: the root key's full name, a backslash and the path
// ("HKEY_LOCAL_MACHINE\Software\A"; "HKEY_CLASSES_ROOT\" for the root itself).
std::string KeyText(std::string_view rootName, std::string_view keyPath);

// The text of a value as rows show it: the key text, a backslash and the value's name
// ("HKEY_CURRENT_USER\Software\Run\Tool"; "HKEY_CURRENT_USER\Tool" directly below the root).
std::string ValueKeyText(std::string_view rootName, std::string_view keyPath,
                         std::string_view valueName);

// The extension of the registry editor's files, and so of every backup.
constexpr std::string_view kRegFileExtension = ".reg";

// True when the name's extension (from its last dot, dot included) is `extension` in any
// letter case: "a.REG" has ".reg"; "a.reg.txt" and "reg" have not.
bool HasExtension(std::string_view name, std::string_view extension);

// The name with `extension` appended unless it has it already ("a.txt" gives "a.txt.reg").
std::string WithExtension(std::string_view name, std::string_view extension);

// A file or folder inside a folder: a backslash between them unless the folder is empty or
// already ends with one.
std::string JoinFilePath(std::string_view folder, std::string_view name);

}  // namespace vantrel
