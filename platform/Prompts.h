#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

// The save dialog's question: its title and its filter ("Registry backup files (*.reg)|*.REG":
// description and pattern pairs separated by "|").
struct SaveFileQuestion {
    std::string title;
    std::string filter;
};

enum class DefaultAnswer { Yes, No };

// The one way logic and windows ask the user something or tell them something. The program's
// own implementation shows message boxes captioned with the product name, the save dialog and
// the shell's folder browser, owned by the window that asks; tests script the answers.
class Prompts {
  public:
    virtual ~Prompts() = default;

    // Yes and No with the information icon; true on Yes.
    virtual bool AskYesNo(std::string_view question,
                          DefaultAnswer defaultAnswer = DefaultAnswer::Yes) = 0;
    // OK with the information icon.
    virtual void ShowNotice(std::string_view text) = 0;
    // OK with the error icon: a failure, or input refused.
    virtual void ShowError(std::string_view text) = 0;
    // The path the user chose in the save dialog; nullopt when cancelled.
    virtual std::optional<std::string> AskSaveFileName(const SaveFileQuestion& question) = 0;
    // The folder the user chose in the folder browser, which shows `instruction`; nullopt when
    // cancelled or when the browser cannot be shown.
    virtual std::optional<std::string> AskFolder(std::string_view instruction) = 0;
};

}  // namespace vantrel
