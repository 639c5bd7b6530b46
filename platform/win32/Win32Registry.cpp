#include "platform/win32/Win32Registry.h"

#include "platform/win32/Win32RegistryAccess.h"

namespace vantrel {

// Accessors share the counter, so it outlives the source when an accessor does.
Win32Registry::Win32Registry() : callCount_(std::make_shared<std::atomic<size_t>>(0)) {}

std::unique_ptr<RegistryAccess> Win32Registry::NewAccess() {
    return std::make_unique<Win32RegistryAccess>(callCount_);
}

size_t Win32Registry::CallCount() const {
    return callCount_->load(std::memory_order_relaxed);
}

}  // namespace vantrel
