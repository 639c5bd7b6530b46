#pragma once

#include <windows.h>

#include <string_view>

#include "platform/ShellOpener.h"

namespace vantrel {

// ShellExecute with the "Open" verb; the shell's own error boxes are owned by `owner`.
class Win32ShellOpener final : public ShellOpener {
  public:
    explicit Win32ShellOpener(HWND owner = nullptr) : owner_(owner) {}
    void SetOwner(HWND owner) { owner_ = owner; }

    void Open(std::string_view target, std::string_view parameters) override;

  private:
    HWND owner_;
};

}  // namespace vantrel
