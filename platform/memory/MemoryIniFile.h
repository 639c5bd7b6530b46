#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/IniFile.h"

namespace vantrel {

// An initialisation file held as its lines, read and written by the same rules as the system's
// profile functions, for exact tests of the settings. Lines it does not understand (comments,
// text without an equals sign) are kept as they are, like every key it is not asked about.
class MemoryIniFile : public IniFile {
  public:
    // A file that does not exist yet; the first write creates it.
    explicit MemoryIniFile(std::string path = "C:\\Vantrel\\options.ini");
    // A file with this content (lines end in CR LF or LF).
    static MemoryIniFile WithText(std::string_view text,
                                  std::string path = "C:\\Vantrel\\options.ini");

    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view fallback) const override;
    void WriteString(std::string_view section, std::string_view key,
                     std::string_view value) override;
    const std::string& Path() const override { return path_; }

    bool Exists() const { return exists_; }
    // The file's content with CR LF line ends.
    std::string Text() const;
    // The raw text after the equals sign, or nullopt when the key is missing.
    std::optional<std::string> StoredText(std::string_view section, std::string_view key) const;
    // Writes after the first `allowed` ones (counted from now) are refused.
    void RefuseWritesAfter(size_t allowed) { writesAllowed_ = allowed; }
    size_t WriteCount() const { return writeCount_; }

  private:
    // Index of the key's line, or nullopt.
    std::optional<size_t> FindKeyLine(std::string_view section, std::string_view key) const;
    std::optional<size_t> FindSectionLine(std::string_view section) const;
    // One past the last non-blank line of the section that starts at `header`.
    size_t SectionEnd(size_t header) const;

    // Where the first header of each section and the first line of each of its keys lie, by
    // upper-case name: built on the first lookup after a change, so that a load of many keys
    // costs one pass over the lines rather than one per key.
    struct LineIndex {
        std::map<std::string, size_t> sections;
        std::map<std::pair<std::string, std::string>, size_t> keys;
    };
    const LineIndex& Index() const;

    std::string path_;
    std::vector<std::string> lines_;
    mutable std::optional<LineIndex> index_;
    bool exists_ = false;
    std::optional<size_t> writesAllowed_;
    size_t writeCount_ = 0;
};

}  // namespace vantrel
