#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "platform/Prompts.h"
#include "platform/ShellOpener.h"
#include "ui/BoundDialog.h"

namespace vantrel {

struct IgnoreKeyDialogArgs {
    HWND owner;
    std::string text;        // the entry to change; "" to add one
    std::string editorPath;  // the registry editor "&Launch Registry Editor" starts
    Prompts* prompts;        // injected prompts; nullptr for the dialog's own boxes
    ShellOpener* shell;      // injected shell; nullptr for the real one
};

// TfrmRegAddRegistry, "Add to Ignore List": asks for one registry path for an ignore list. OK
// is enabled exactly while the text holds "HKEY_" in some letter case; the text is handed back
// exactly as typed. It neither reads nor writes the settings.
class TfrmRegAddRegistry : public BoundDialog {
  public:
    static constexpr const char* kHelpPage = "ignore-key.html";  // F1
    static constexpr const char* kCaption = "Add to Ignore List";
    static constexpr int kLaunchRegedit = 101;
    static constexpr int kRegistryKey = 102;

    explicit TfrmRegAddRegistry(IgnoreKeyDialogArgs args);

    // The entered text after OK; nullopt after Cancel or the title bar's close button.
    std::optional<std::string> ShowModal();

    // Whether OK may be pressed with this text (aOKUpdate).
    static bool AcceptsText(std::string_view text);

    // The dialog procedure's side (see BoundDialogProc).
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    void OnInitDialog();
    std::string EnteredText() const;
    void UpdateOk();
    void OnOk();

    IgnoreKeyDialogArgs args_;
    std::string accepted_;
};

}  // namespace vantrel
