#pragma once

#include <windows.h>

namespace vantrel {

// Whether the caption of a label or button fits its control in `font`: on one line for buttons
// and labels that do not wrap, in the control's height for labels that do. A check box or radio
// button keeps room for its box. Controls of other kinds, and labels that end in "..." by
// design, always fit.
bool CaptionFitsIn(HWND control, HFONT font);

}  // namespace vantrel
