#pragma once

#include <windows.h>

namespace vantrel {

// The product's web page: Home Page and the about box's address open it.
constexpr const char* kHomePageAddress = "https://www.vantrel.example/";

// Opens the page with the shell's "open" verb, shown normally; failures are the shell's to show.
void OpenHomePage(HWND owner);

}  // namespace vantrel
