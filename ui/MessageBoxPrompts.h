#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "platform/Prompts.h"

namespace vantrel {

// The program's own prompts: message boxes captioned with the product name, the save dialog and
// the shell's folder browser, each modal to the owner window.
class MessageBoxPrompts final : public Prompts {
  public:
    explicit MessageBoxPrompts(HWND owner = nullptr) : owner_(owner) {}
    void SetOwner(HWND owner) { owner_ = owner; }

    bool AskYesNo(std::string_view question, DefaultAnswer defaultAnswer) override;
    void ShowNotice(std::string_view text) override;
    void ShowError(std::string_view text) override;
    std::optional<std::string> AskSaveFileName(const SaveFileQuestion& question) override;
    std::optional<std::string> AskFolder(std::string_view instruction) override;

  private:
    HWND owner_;
};

// The prompts a window or dialog uses: those injected into it (a test's), or else message
// boxes owned by the window itself, so a box never leaves its window usable behind it.
class WindowPrompts {
  public:
    explicit WindowPrompts(Prompts* injected) : injected_(injected) {}
    // Called once the window exists.
    void SetOwner(HWND owner) { boxes_.SetOwner(owner); }
    Prompts& Get() const { return injected_ != nullptr ? *injected_ : boxes_; }
    // What to hand on to the windows this one makes: the injected prompts, if any.
    Prompts* Injected() const { return injected_; }

  private:
    Prompts* injected_;
    mutable MessageBoxPrompts boxes_;
};

}  // namespace vantrel
