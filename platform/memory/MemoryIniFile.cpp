#include "platform/memory/MemoryIniFile.h"

#include <utility>

#include "platform/TextCase.h"

namespace vantrel {

namespace {

constexpr std::string_view kBlanks = " \t";

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

// The name of a "[name]" line, or nullopt for any other line.
std::optional<std::string_view> SectionName(std::string_view line) {
    const std::string_view trimmed = Trimmed(line);
    if (trimmed.empty() || trimmed.front() != '[')
        return std::nullopt;
    const auto close = trimmed.find(']');
    const std::string_view inside =
        trimmed.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1);
    return Trimmed(inside);
}

// The key of a "key=value" line, or nullopt for a line without an equals sign.
std::optional<std::string_view> KeyName(std::string_view line) {
    const auto equals = line.find('=');
    if (equals == std::string_view::npos)
        return std::nullopt;
    return Trimmed(line.substr(0, equals));
}

// What the profile functions hand back: blanks around the value removed, then one pair of
// matching enclosing quotes.
std::string AsRead(std::string_view raw) {
    std::string_view value = Trimmed(raw);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

}  // namespace

MemoryIniFile::MemoryIniFile(std::string path) : path_(std::move(path)) {}

MemoryIniFile MemoryIniFile::WithText(std::string_view text, std::string path) {
    MemoryIniFile file(std::move(path));
    file.exists_ = true;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        file.lines_.emplace_back(line);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    }
    return file;
}

const MemoryIniFile::LineIndex& MemoryIniFile::Index() const {
    if (index_)
        return *index_;
    LineIndex index;
    // Keys count only in the first section of a name, as the lookups search it alone.
    std::optional<std::string> section;
    for (size_t i = 0; i < lines_.size(); ++i) {
        if (const auto name = SectionName(lines_[i])) {
            const std::string upper = UpperAscii(*name);
            section.reset();
            if (index.sections.emplace(upper, i).second)
                section = upper;
            continue;
        }
        const auto key = KeyName(lines_[i]);
        if (section && key)
            index.keys.emplace(std::make_pair(*section, UpperAscii(*key)), i);
    }
    index_ = std::move(index);
    return *index_;
}

std::optional<size_t> MemoryIniFile::FindSectionLine(std::string_view section) const {
    const auto& sections = Index().sections;
    const auto found = sections.find(UpperAscii(Trimmed(section)));
    if (found == sections.end())
        return std::nullopt;
    return found->second;
}

size_t MemoryIniFile::SectionEnd(size_t header) const {
    size_t end = header + 1;
    for (size_t i = header + 1; i < lines_.size() && !SectionName(lines_[i]); ++i) {
        if (!Trimmed(lines_[i]).empty())
            end = i + 1;
    }
    return end;
}

std::optional<size_t> MemoryIniFile::FindKeyLine(std::string_view section,
                                                 std::string_view key) const {
    const auto& keys = Index().keys;
    const auto found =
        keys.find(std::make_pair(UpperAscii(Trimmed(section)), UpperAscii(Trimmed(key))));
    if (found == keys.end())
        return std::nullopt;
    return found->second;
}

std::optional<std::string> MemoryIniFile::StoredText(std::string_view section,
                                                     std::string_view key) const {
    const auto line = FindKeyLine(section, key);
    if (!line)
        return std::nullopt;
    const std::string& text = lines_[*line];
    return text.substr(text.find('=') + 1);
}

std::string MemoryIniFile::ReadString(std::string_view section, std::string_view key,
                                      std::string_view fallback) const {
    const auto stored = StoredText(section, key);
    return stored ? AsRead(*stored) : std::string(fallback);
}

void MemoryIniFile::WriteString(std::string_view section, std::string_view key,
                                std::string_view value) {
    if (writesAllowed_ && writeCount_ >= *writesAllowed_)
        throw IniWriteError(path_);
    ++writeCount_;
    exists_ = true;
    if (const auto line = FindKeyLine(section, key)) {
        // The lines keep their places: the index stays good.
        std::string& text = lines_[*line];
        text = text.substr(0, text.find('=') + 1) + std::string(value);
        return;
    }
    const std::string keyLine = std::string(key) + "=" + std::string(value);
    const auto header = FindSectionLine(section);
    index_.reset();
    if (header) {
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(SectionEnd(*header)), keyLine);
        return;
    }
    lines_.push_back("[" + std::string(section) + "]");
    lines_.push_back(keyLine);
}

std::string MemoryIniFile::Text() const {
    std::string text;
    for (const std::string& line : lines_)
        text += line + "\r\n";
    return text;
}

}  // namespace vantrel
