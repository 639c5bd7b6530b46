#pragma once

#include <string_view>

namespace vantrel {

// Writes `text` as the string value `valueName` of the key `keyPath` below HKEY_CURRENT_USER,
// creating the key when it is missing. False, with nothing written, when the key can be neither
// opened nor created; raises RegistryError ("Failed to set data for '<valueName>'") when the
// value cannot be written.
bool WriteRegistryString(std::string_view keyPath, std::string_view valueName,
                         std::string_view text);

}  // namespace vantrel
