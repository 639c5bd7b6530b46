#pragma once

#include <windows.h>

#include <commctrl.h>

#include "ui/look/SkinLook.h"

namespace vantrel {

// How a look draws what the controls cannot be told to colour themselves.

// A colour between `from` (share 0) and `to` (share 1): borders and greyed text.
Rgb Mix(const Rgb& from, const Rgb& to, double share);

// An owner-drawn push button: the look's button colours, the highlight while pressed, a
// thicker border for the default button.
void DrawSkinnedButton(const DRAWITEMSTRUCT& item, const SkinLook& look, bool isDefault);

// The whole client area of a status bar: its parts on the look's face colour.
void PaintSkinnedStatusBar(HWND bar, HDC dc, const SkinLook& look);

// A progress bar: the filled part in the look's progress colour on its face colour.
void PaintSkinnedProgressBar(HWND bar, HDC dc, const SkinLook& look);

// NM_CUSTOMDRAW of a column header, a list view, a tree view and a tool bar.
LRESULT CustomDrawHeader(NMCUSTOMDRAW& draw, const SkinLook& look);
LRESULT CustomDrawList(NMLVCUSTOMDRAW& draw, const SkinLook& look);
LRESULT CustomDrawTree(NMTVCUSTOMDRAW& draw, const SkinLook& look);
LRESULT CustomDrawToolBar(NMTBCUSTOMDRAW& draw, const SkinLook& look);

}  // namespace vantrel
