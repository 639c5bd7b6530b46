#include "platform/win32/Win32IniFile.h"

#include <windows.h>

#include <utility>

namespace vantrel {

namespace {

// Enough for every value the program writes; a longer one is read again with more room rather
// than cut, so that no text is shortened on its way through the file.
constexpr DWORD kInitialChars = 2048;
constexpr DWORD kMaxChars = 1u << 24;

}  // namespace

Win32IniFile::Win32IniFile(std::string path) : path_(std::move(path)) {}

std::string Win32IniFile::ReadString(std::string_view section, std::string_view key,
                                     std::string_view fallback) const {
    const std::string sectionName(section);
    const std::string keyName(key);
    // A sentinel default tells a missing key from a stored one: the system trims a default's
    // blanks, and the caller's fallback must come back exactly.
    static constexpr const char* kMissing = "\x01vantrel-missing\x01";
    std::string buffer;
    DWORD length = 0;
    for (DWORD size = kInitialChars;; size *= 2) {
        buffer.assign(size, '\0');
        length = ::GetPrivateProfileStringA(sectionName.c_str(), keyName.c_str(), kMissing,
                                            buffer.data(), size, path_.c_str());
        // The system answers size - 1 when the value did not fit.
        if (length + 1 < size || size >= kMaxChars)
            break;
    }
    buffer.resize(length);
    if (buffer == kMissing)
        return std::string(fallback);
    return buffer;
}

void Win32IniFile::WriteString(std::string_view section, std::string_view key,
                               std::string_view value) {
    const std::string sectionName(section);
    const std::string keyName(key);
    const std::string text(value);
    if (!::WritePrivateProfileStringA(sectionName.c_str(), keyName.c_str(), text.c_str(),
                                      path_.c_str()))
        throw IniWriteError(path_);
}

}  // namespace vantrel
