#pragma once

namespace vantrel {

// WindowsVersionCode of the running system, from its own version record (which, unlike
// GetVersionEx, does not pretend to be an older version to programs without a manifest).
int CurrentWindowsVersionCode();

}  // namespace vantrel
