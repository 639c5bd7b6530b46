#pragma once

#include <string>
#include <string_view>

namespace vantrel {

// The wordings of the rows' reasons, one for each kind of finding.

// A whole path that was looked for and is not there.
inline std::string DoesNotExistReason(std::string_view path) {
    return std::string(path) + " does not exist";
}

// A text (a command line, a path with arguments) whose file was looked for and is not there.
inline std::string NamesMissingFileReason(std::string_view text) {
    return std::string(text) + " names a file that does not exist";
}

inline std::string NamesMissingFileOrFolderReason(std::string_view text) {
    return std::string(text) + " names a file or folder that does not exist";
}

inline std::string NamesMissingProgramReason(std::string_view text) {
    return std::string(text) + " names a program that does not exist";
}

}  // namespace vantrel
