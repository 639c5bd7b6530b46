#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/TextCase.h"

namespace vantrel {

// True when names holds name, letter case of a to z ignored.
inline bool ContainsNameIgnoreCase(const std::vector<std::string>& names, std::string_view name) {
    for (const std::string& candidate : names) {
        if (EqualsIgnoreCase(candidate, name))
            return true;
    }
    return false;
}

}  // namespace vantrel
