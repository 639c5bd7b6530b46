#pragma once

#include <string>
#include <string_view>

#include "platform/IniFile.h"

namespace vantrel {

// An initialisation file through the system's profile functions (GetPrivateProfileStringA,
// WritePrivateProfileStringA), ANSI text as the file holds it. The system opens the file for
// each call; nothing is kept here between calls.
class Win32IniFile : public IniFile {
  public:
    // `path` is a full path: a bare name would make the system look in the Windows folder.
    explicit Win32IniFile(std::string path);

    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view fallback) const override;
    void WriteString(std::string_view section, std::string_view key,
                     std::string_view value) override;
    const std::string& Path() const override { return path_; }

  private:
    std::string path_;
};

}  // namespace vantrel
