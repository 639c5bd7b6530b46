#pragma once

#include <windows.h>

namespace vantrel {

// Makes a static control (SS_NOTIFY, so it reports STN_CLICKED) a clickable address: the hand
// cursor over it, and the look's link colour, or the system's blue without a look.
void MakeLinkLabel(HWND label);
bool IsLinkLabel(HWND label);

// The link colour without a look.
constexpr COLORREF kPlainLinkColour = RGB(0, 0, 204);

}  // namespace vantrel
