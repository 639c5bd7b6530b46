#pragma once

#include "platform/WindowsVersion.h"

namespace vantrel {

// The running system's version, from its own version record (which, unlike GetVersionEx, does
// not pretend to be an older version to programs without a manifest).
WindowsVersion CurrentWindowsVersion();

}  // namespace vantrel
