#pragma once

#include <windows.h>

#include "platform/ShellOpener.h"
#include "platform/win32/Win32ShellOpener.h"

namespace vantrel {

// The shell a window opens documents, folders and programs through: the one injected into it
// (a test's), or else the real shell with the window as the owner of its boxes. Like
// WindowPrompts, a window hands Injected() on to the windows it makes.
class WindowShell {
  public:
    explicit WindowShell(ShellOpener* injected) : injected_(injected) {}
    // Called once the window exists.
    void SetOwner(HWND owner) { own_.SetOwner(owner); }
    ShellOpener& Get() const { return injected_ != nullptr ? *injected_ : own_; }
    ShellOpener* Injected() const { return injected_; }

  private:
    ShellOpener* injected_;
    mutable Win32ShellOpener own_;
};

}  // namespace vantrel
