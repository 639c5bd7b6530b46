#pragma once

#include "ui/GuiHandles.h"

namespace vantrel {

// The pictures of the command tool bar's five buttons, `size` pixels square (designed at 16),
// in button order: Scan (a
// magnifier), Repair (a tick), Restore (an arrow turning back), Options (a page of settings),
// Exit (a cross). Drawn here rather than loaded, so every program that shows the main window
// has them.
constexpr int kToolBarImageSize = 16;
unique_himagelist CreateToolBarImages(int size);

}  // namespace vantrel
