#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace vantrel {

// Raised when the system refuses to write a key; the message names the file.
class IniWriteError : public std::runtime_error {
  public:
    explicit IniWriteError(const std::string& path)
        : std::runtime_error("Unable to write to " + path), path_(path) {}
    const std::string& Path() const { return path_; }

  private:
    std::string path_;
};

// A Windows initialisation file, seen the way the system's profile functions see it: section
// and key names match without regard to letter case, a value is read with its surrounding
// blanks removed and one pair of enclosing quotes stripped, and a write replaces the key's value
// (adding the section or key when missing) and leaves every other line alone.
class IniFile {
  public:
    virtual ~IniFile() = default;

    // The key's value, or `fallback` when the file, the section or the key is missing.
    virtual std::string ReadString(std::string_view section, std::string_view key,
                                   std::string_view fallback) const = 0;
    // Stores the text as given; throws IniWriteError when the write is refused.
    virtual void WriteString(std::string_view section, std::string_view key,
                             std::string_view value) = 0;
    // The file's path, as error messages name it.
    virtual const std::string& Path() const = 0;
};

}  // namespace vantrel
