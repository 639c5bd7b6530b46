#pragma once

#include <windows.h>

#include <cstdint>
#include <string_view>
#include <vector>

#include "ui/BoundDialogProc.h"

namespace vantrel {

// A dialog's layout in dialog units, built in code as an in-memory DLGTEMPLATEEX (see
// ui/README.md for why dialogs are not resource scripts). The dialog manager then gives every
// dialog its keyboard handling: Tab order, the default button, Enter and Escape.
class DialogTemplate {
  public:
    // A modal dialog with a caption and a close box in the dialog font, MS Sans Serif 8.
    static constexpr DWORD kModalStyle =
        DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU;

    DialogTemplate(std::string_view caption, int width, int height, DWORD style = kModalStyle);

    // A control of a system class ("BUTTON", "EDIT", "STATIC", "SysListView32", ...); WS_CHILD
    // and WS_VISIBLE are added to its style. Controls are in Tab order as added.
    void AddControl(std::string_view windowClass, std::string_view text, int id, DWORD style,
                    int left, int top, int width, int height, DWORD extendedStyle = 0);

    const DLGTEMPLATE* Get() const;
    int ControlCount() const { return controls_; }

  private:
    void AppendWord(uint16_t word);
    void AppendDword(uint32_t dword);
    void AppendText(std::string_view text);
    void AlignToDword();

    std::vector<uint8_t> bytes_;
    int controls_ = 0;
};

// Shows the dialog modally, driven by `dialog` through BoundDialogProc; returns the code the
// dialog ended with (EndDialog), or -1 when it could not be shown.
template <typename T>
INT_PTR ShowModalDialog(HWND owner, const DialogTemplate& layout, T& dialog) {
    return ::DialogBoxIndirectParamA(::GetModuleHandleA(nullptr), layout.Get(), owner,
                                     &BoundDialogProc<T>, reinterpret_cast<LPARAM>(&dialog));
}

}  // namespace vantrel
