#pragma once

#include "platform/RegistryAccess.h"

namespace vantrel {

// The checks judge only text values; every other type is passed over before it is read.
inline bool IsStringValueType(ValueType type) {
    return type == ValueType::String || type == ValueType::ExpandString;
}

}  // namespace vantrel
