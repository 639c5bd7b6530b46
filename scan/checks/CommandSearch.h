#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/RootKey.h"
#include "scan/ScanContext.h"

namespace vantrel {

// Called for each command found: the path (below the root) of the key holding the command
// subkey, and the command's text.
using CommandFound = std::function<void(const std::string& keyPath, const std::string& text)>;

// Searches the tree at startPath, depth first, for keys whose subkey subkeyName holds a
// non-empty string value valueName, and hands each one to `found` in the order of the walk.
// A key whose command cannot be read is passed over with its subtree; a stop request, and
// whatever `found` raises, pass out.
void ForEachCommand(ScanContext& context, RootKey root, std::string_view startPath,
                    std::string_view subkeyName, std::string_view valueName,
                    const CommandFound& found);

}  // namespace vantrel
