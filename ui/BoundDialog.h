#pragma once

#include <windows.h>

#include "ui/MessageBoxPrompts.h"
#include "ui/WindowShell.h"

namespace vantrel {

// The side every dialog driven through BoundDialogProc shares: its handle while it exists, and
// the prompts and shell it asks the user and opens things through, owned by the dialog once it
// is made. A dialog that opens nothing is given no shell (nullptr) and never asks for one.
class BoundDialog {
  public:
    void Attach(HWND dialog) {
        dialog_ = dialog;
        prompts_.SetOwner(dialog);
        shell_.SetOwner(dialog);
    }
    void Detach() { dialog_ = nullptr; }
    Prompts& UserPrompts() { return prompts_.Get(); }
    // F1: the help file's page of this dialog, beside the program.
    void OpenHelpPage(const char* page);

  protected:
    BoundDialog(Prompts* prompts, ShellOpener* shell) : prompts_(prompts), shell_(shell) {}
    ~BoundDialog() = default;
    BoundDialog(const BoundDialog&) = delete;
    BoundDialog& operator=(const BoundDialog&) = delete;

    WindowPrompts prompts_;
    WindowShell shell_;
    HWND dialog_ = nullptr;
};

}  // namespace vantrel
