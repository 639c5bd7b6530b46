#pragma once

#include <windows.h>

#include "ui/GuiHandles.h"

namespace vantrel {

// The dialog font of every window: "MS Sans Serif", 8 point at `dpi`.
unique_hfont CreateDialogFont(int dpi);

// Client rectangle of a child window in its parent's client coordinates.
RECT ChildRect(HWND child);
// Moves a child only when its rectangle changes, so a layout run from WM_PAINT settles.
// True when it moved or resized the child.
bool PlaceChild(HWND child, int left, int top, int width, int height);
// Centres a window on its owner (on the work area when it has none), kept on that work area.
void CentreOnOwner(HWND window);

}  // namespace vantrel
