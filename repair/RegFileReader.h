#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/RegistryAccess.h"
#include "platform/RootKey.h"

namespace vantrel {

// Text that is not REGEDIT4 as the registry editor reads it; the message names the line.
class RegFileError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// One value line of a block: a value to set (its registry type and bytes), or, for "name"=-,
// a value to remove.
struct RegFileValue {
    std::string name;  // "" for the default value (@)
    bool removes = false;
    uint32_t type = regtype::kNone;
    std::vector<uint8_t> data;
};

// One "[ROOT\path]" block with its value lines, or a "[-ROOT\path]" removal of a key.
struct RegFileBlock {
    RootKey root = RootKey::None;
    std::string path;  // below the root
    bool removesKey = false;
    std::vector<RegFileValue> values;
};

// Reads REGEDIT4 text the way the registry editor imports it: an optional "REGEDIT4" header,
// key lines, "name"="text" and @="text" (\\ and \" escaped; the data of a string holds its
// ANSI text and one terminating zero), dword:, hex: and hex(N): with "\" continuation lines,
// ";" comments and blank lines. Root names may be written in full or short (HKCU). Also reads
// the registry editor's Unicode export (UTF-16LE after its byte order mark, headed "Windows
// Registry Editor Version 5.00"), whose text it gives as the registry's ANSI reads give it: as
// long as it is ASCII, as the same text is in every code page; a file with other characters is
// one it cannot read. Raises RegFileError for text it cannot read, having read nothing.
std::vector<RegFileBlock> ReadRegFile(std::string_view text);

}  // namespace vantrel
