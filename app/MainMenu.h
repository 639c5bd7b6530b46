#pragma once

#include "ui/GuiHandles.h"

namespace vantrel {

// The main menu bar: File, Actions, Edit, Help.
unique_hmenu CreateMainMenu();
// The results list's context menu (a menu bar holding one popup, for TrackPopupMenu).
unique_hmenu CreateResultsContextMenu();
// Ctrl+S, Ctrl+R, Ctrl+E, Ctrl+A, Ctrl+N and F1.
unique_haccel CreateMainAccelerators();

// The File menu (position 0 of the menu bar) and its items the window changes.
HMENU FileMenuOf(HMENU menuBar);

}  // namespace vantrel
