#pragma once

#include <windows.h>

#include <string>

#include "ui/look/SkinLook.h"

namespace vantrel {

// The program's current look, shared by every window as one skin manager is: the system's own
// until a skin is selected.

// Selects the look of `skinIndex` (0 to 7, see ui/look/SkinCatalogue.h): a built-in style, or
// the index's skin file, looked up as named and then in `executableFolder`. A missing or
// malformed file leaves the current look as it was and says nothing; an index outside 0 to 7
// selects the system's own look.
void SelectSkin(int skinIndex, const std::string& executableFolder);
// The current look; nullptr for the system's own.
const SkinLook* CurrentSkin();

// The one call a window makes to take the current look, once its controls exist (at the end of
// WM_CREATE or in WM_INITDIALOG). It colours the window and its direct controls from then on;
// called again, it gives them the look current then. See ui/README.md.
void ApplyCurrentSkin(HWND window);
// The same with a given look; nullptr gives the window back its system look.
void ApplySkin(HWND window, const SkinLook* look);

COLORREF ToColorRef(const Rgb& colour);

}  // namespace vantrel
