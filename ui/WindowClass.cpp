#include "ui/WindowClass.h"

#include <stdexcept>
#include <string>

namespace vantrel {

void RegisterWindowClass(WNDCLASSEXA windowClass, std::string_view what) {
    windowClass.cbSize = sizeof(windowClass);
    if (::RegisterClassExA(&windowClass) == 0 && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        throw std::runtime_error("Cannot register the " + std::string(what) + " class.");
}

}  // namespace vantrel
