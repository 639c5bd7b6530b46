#pragma once

#include <windows.h>
// <windows.h> maps this name to its ANSI function; here it is the FileSystem method.
#undef ExpandEnvironmentStrings

#include <optional>
#include <string>
#include <string_view>

#include "platform/ForwardingFileSystem.h"

namespace vantrel {

// Passes everything to another file system, and makes sure the calling thread has initialised
// COM before a shortcut is resolved: the shell link object needs it, and the scan resolves
// shortcuts on its own worker thread. COM stays initialised until that thread ends.
class ComReadyFileSystem : public ForwardingFileSystem {
  public:
    using ForwardingFileSystem::ForwardingFileSystem;

    std::optional<std::string> ResolveShortcutTarget(std::string_view linkPath) override;
};

}  // namespace vantrel
