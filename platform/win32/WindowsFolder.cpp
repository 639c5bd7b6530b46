#include "platform/win32/WindowsFolder.h"

#include <windows.h>

#include "platform/PathText.h"

namespace vantrel {

std::string WindowsFolder() {
    char buffer[MAX_PATH + 1] = {};
    const UINT length = ::GetWindowsDirectoryA(buffer, static_cast<UINT>(sizeof buffer));
    if (length == 0 || length >= sizeof buffer)
        return "";
    return std::string(WithoutTrailingBackslash(std::string_view(buffer, length)));
}

}  // namespace vantrel
