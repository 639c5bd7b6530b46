#pragma once

// Whole files and texts as the tests write and compare them.
#include <cstddef>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

namespace vantrel::test {

// The whole file as bytes; "" when it cannot be read.
inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Makes the file hold exactly these bytes.
inline void WriteFile(const std::string& path, std::string_view text) {
    std::ofstream(path, std::ios::binary) << text;
}

// The text as the registry editor's Unicode export stores it: the UTF-16LE byte order mark, then
// each byte as one UTF-16 unit.
inline std::string AsUnicodeExport(std::string_view text) {
    std::string bytes = "\xFF\xFE";
    for (const char c : text) {
        bytes += c;
        bytes += '\0';
    }
    return bytes;
}

// How often `part` stands in `text`, overlapping places counted.
inline size_t Occurrences(std::string_view text, std::string_view part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string_view::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

}  // namespace vantrel::test
