#include "platform/win32/Win32ShellOpener.h"

#include <shellapi.h>

#include <string>

namespace vantrel {

void Win32ShellOpener::Open(std::string_view target, std::string_view parameters) {
    const std::string file(target);
    const std::string arguments(parameters);
    ::ShellExecuteA(owner_, "open", file.c_str(), arguments.empty() ? nullptr : arguments.c_str(),
                    nullptr, SW_SHOWNORMAL);
}

}  // namespace vantrel
