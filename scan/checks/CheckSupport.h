#pragma once

#include <string>
#include <vector>

#include "platform/RegistryAccess.h"
#include "scan/ScanContext.h"

namespace vantrel {

// The checks judge only text values; every other type is passed over before it is read.
inline bool IsStringValueType(ValueType type) {
    return type == ValueType::String || type == ValueType::ExpandString;
}

// Hands every string value of the open key to `judge` (name, text), in enumeration order; values
// of other types are passed over unread. The stop request is observed between values. A name
// holding a backslash is passed over too: its row would name the key text plus the value name,
// which repair reads back as a value of some subkey, another entry than the one judged.
template <typename Judge>
void ForEachStringValue(const ScanContext& context, RegistryAccess& key, Judge&& judge) {
    const std::vector<std::string> names = key.GetValueNames();
    for (const std::string& name : names) {
        context.ThrowIfStopped();
        if (name.find('\\') != std::string::npos || !IsStringValueType(key.GetDataType(name)))
            continue;
        judge(name, key.ReadString(name));
    }
}

}  // namespace vantrel
