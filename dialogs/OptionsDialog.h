#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Prompts.h"
#include "platform/ShellOpener.h"
#include "settings/OptionsSetting.h"
#include "ui/BoundDialog.h"

namespace vantrel {

struct OptionsDialogArgs {
    HWND owner;
    OptionsSetting& options;  // changed only by OK
    FileSystem& files;        // the backup folder must exist
    std::string editorPath;   // for the ignore-key dialog's "&Launch Registry Editor"
    Prompts* prompts;         // injected prompts; nullptr for the dialog's own boxes
    ShellOpener* shell;       // injected shell; nullptr for the real one
};

// TfrmOptions: the backup folder, whether a restored backup is deleted, and the two ignore
// lists on the pages "Values" and "Keys". Add, Edit and Remove act on the list of the page
// shown; OK takes everything over into the settings record once the folder exists, Cancel
// takes nothing over.
class TfrmOptions : public BoundDialog {
  public:
    static constexpr const char* kHelpPage = "options.html";  // F1
    static constexpr const char* kCaption = "Options";
    static constexpr const char* kMissingFolderMessage = "The backup directory does not exist.";
    static constexpr const char* kBrowsePrompt = "Please select the directory to add";
    static constexpr int kOutputFolder = 101;
    static constexpr int kBrowse = 102;
    static constexpr int kDeleteBackupFile = 103;
    static constexpr int kPages = 104;
    static constexpr int kValues = 105;
    static constexpr int kKeys = 106;
    static constexpr int kAdd = 107;
    static constexpr int kEdit = 108;
    static constexpr int kRemove = 109;
    static constexpr int kValuesPage = 0;
    static constexpr int kKeysPage = 1;

    explicit TfrmOptions(OptionsDialogArgs args);

    // IDOK when the settings were taken over, IDCANCEL otherwise.
    INT_PTR ShowModal();

    // The dialog procedure's side (see BoundDialogProc).
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    void OnInitDialog();
    void CreateList(int id, const std::vector<std::string>& entries);
    void PlaceListsInPages();
    void ShowActivePage();
    HWND ActiveList() const;
    std::vector<std::string> Captions(HWND list) const;
    void OnBrowse();
    void OnAdd();
    void OnEdit();
    void OnRemove();
    void OnOk();

    OptionsDialogArgs args_;
};

}  // namespace vantrel
