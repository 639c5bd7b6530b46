#pragma once

#include <string>

namespace vantrel {

// The Windows folder (GetWindowsDirectory), without a trailing backslash; "" when the system
// does not say.
std::string WindowsFolder();

}  // namespace vantrel
