#pragma once

#include <windows.h>

#include <string>

namespace vantrel {

// The system's text for an error code (FormatMessageA, the user's language), without the
// line break it ends with; "Error N" when the system has no text for it.
std::string SystemMessage(DWORD error);

}  // namespace vantrel
