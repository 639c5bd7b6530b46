#include "platform/RegistryAccess.h"

namespace vantrel {

ValueType ValueTypeOf(uint32_t registryType) {
    switch (registryType) {
        case regtype::kString:
            return ValueType::String;
        case regtype::kExpandString:
            return ValueType::ExpandString;
        case regtype::kDword:
            return ValueType::Integer;
        case regtype::kBinary:
            return ValueType::Binary;
        default:
            return ValueType::Unknown;
    }
}

RegistryError DataReadError(std::string_view valueName) {
    return RegistryError("Failed to get data for '" + std::string(valueName) + "'");
}

}  // namespace vantrel
