#pragma once

#include <string>
#include <string_view>

#include "platform/RootKey.h"
#include "scan/ScanContext.h"

namespace vantrel {

// The next command text below startPath, depth first, after the key whose path foundKey holds:
// a key counts when its subkey subkeyName holds a non-empty string value valueName. foundKey is
// the resume point: start with it empty; each find sets it to the path (below the root) of the
// key holding the command subkey. "" once there is none left, foundKey then empty again.
// Registry errors inside end that part of the search quietly; a stop request passes out.
std::string FindCommandValue(ScanContext& context, RootKey root, std::string& foundKey,
                             std::string_view startPath, std::string_view subkeyName,
                             std::string_view valueName);

}  // namespace vantrel
