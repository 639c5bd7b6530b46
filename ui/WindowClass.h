#pragma once

#include <windows.h>

#include <string_view>

namespace vantrel {

// Registers a window class (cbSize is filled in here). A class registered already, by an
// earlier window of this process, is no error; any other refusal raises "Cannot register the
// <what> class.".
void RegisterWindowClass(WNDCLASSEXA windowClass, std::string_view what);

}  // namespace vantrel
