#include "ui/HomePage.h"

#include <shellapi.h>

namespace vantrel {

void OpenHomePage(HWND owner) {
    ::ShellExecuteA(owner, "open", kHomePageAddress, nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace vantrel
