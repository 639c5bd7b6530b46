#pragma once

#include <atomic>
#include <cstddef>
#include <memory>

#include "platform/RegistryAccess.h"

namespace vantrel {

// The real registry. Accessors may be made and used on any thread; each is used by one.
class Win32Registry : public RegistrySource {
  public:
    Win32Registry();

    std::unique_ptr<RegistryAccess> NewAccess() override;

    // Registry calls made so far by all accessors this source made (opens, closes, listings,
    // reads, deletes, writes): what a benchmark divides by the values it read.
    size_t CallCount() const;

  private:
    std::shared_ptr<std::atomic<size_t>> callCount_;
};

}  // namespace vantrel
