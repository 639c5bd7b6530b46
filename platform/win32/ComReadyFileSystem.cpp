#include "platform/win32/ComReadyFileSystem.h"

#include "platform/win32/UniqueHandle.h"

namespace vantrel {

std::optional<std::string> ComReadyFileSystem::ResolveShortcutTarget(std::string_view linkPath) {
    // One initialisation per thread, undone when the thread ends.
    thread_local ComInitializer com(COINIT_APARTMENTTHREADED);
    return Inner().ResolveShortcutTarget(linkPath);
}

}  // namespace vantrel
