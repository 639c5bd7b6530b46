#pragma once

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/CategoryTree.h"
#include "app/ResultsList.h"
#include "app/ScanProgressWindow.h"
#include "platform/FileSystem.h"
#include "platform/ProductVersion.h"
#include "platform/Prompts.h"
#include "platform/RegistryAccess.h"
#include "platform/ShellOpener.h"
#include "settings/OptionsSetting.h"
#include "ui/GuiHandles.h"
#include "ui/MessageBoxPrompts.h"
#include "ui/WindowDpi.h"
#include "ui/WindowShell.h"

namespace vantrel {

struct MainWindowArgs {
    HINSTANCE instance;
    RegistrySource& registry;
    FileSystem& files;
    WindowsVersion windowsVersion;
    std::string executableFolder;  // Help's file and the default backup folder are found here
    std::string settingsPath;      // "options.ini"
    bool quitWhenClosed = true;    // the program ends with the window
    // How the window and the windows it makes ask the user; nullptr for message boxes owned by
    // each window (tests inject scripted answers).
    Prompts* prompts = nullptr;
    // Handed to every scan window (see ScanProgressArgs::loopObserver).
    std::function<void(bool handling)> scanLoopObserver;
    // How the window and its dialogs open folders and programs; nullptr for the real shell
    // (tests record what would be opened).
    ShellOpener* shell = nullptr;
    // The registry editor's full path; "" for regedit.exe in the Windows folder.
    std::string registryEditorPath;
};

// TfrmRegCleaner: the program's main window. Layout, creation and closing live in
// MainWindow.cpp, commands in MainWindowCommands.cpp, notifications in
// MainWindowNotifications.cpp, Repair in MainWindowRepair.cpp, and the commands that open a
// dialog or an outside program (restore, options, full backup, Windows Backup, the registry
// editor) in MainWindowTools.cpp.
class TfrmRegCleaner : public OptionsWindow {
  public:
    static constexpr const char* kClassName = "TfrmRegCleaner";
    static constexpr const char* kCaption = kMainWindowCaption;
    static constexpr int kDesignClientWidth = 678;
    static constexpr int kDesignClientHeight = 514;
    static constexpr int kTreeWidth = 179;
    static constexpr int kTitleHeight = 19;
    static constexpr int kStatusBarHeight = 26;
    // The line under the list that says why the selected row is listed.
    static constexpr int kRowDetailsHeight = 18;
    static constexpr int kToolBarTop = 0;
    static constexpr int kToolBarHeight = 36;
    static constexpr int kToolBarButtonWidth = 44;
    // Posted to expand the category tree again after a collapse.
    static constexpr UINT kExpandTreeMessage = WM_APP + 0x202;
    // Asked after a Repair that removed rows, and said when the scan after it found nothing.
    static constexpr const char* kCheckAgainQuestion =
        "Check Again?\r\nDeleting an entry can leave the key that held it empty. Scan the "
        "repaired categories again for what the repair left orphaned?";
    static constexpr const char* kCheckAgainFoundNothing =
        "Check Again found nothing new: the repair left nothing orphaned.";

    explicit TfrmRegCleaner(MainWindowArgs args);
    ~TfrmRegCleaner() override;
    TfrmRegCleaner(const TfrmRegCleaner&) = delete;
    TfrmRegCleaner& operator=(const TfrmRegCleaner&) = delete;

    // Creates the window (FormCreate: caption, settings, skin, menu for this Windows).
    void Create();
    // FormShow: shown maximized when so stored, tree expanded, ticks loaded.
    void Show(int showCommand);
    HWND Handle() const { return window_; }
    // The main loop's accelerators and Tab; true when the message was one.
    bool TranslateAccelerators(MSG& message);

    HWND ToolBar() const { return toolBar_; }
    HWND TitleHeader() const { return tvTitle_; }
    HWND StatusBar() const { return statusBar1_; }
    HWND RowDetails() const { return rowDetails_; }
    CategoryTree& Tree() { return tvRegistry_; }
    ResultsList& Results() { return lvRegistryData_; }
    const OptionsSetting& Options() const { return options_; }
    // CheckList as the last Scan built it (nullopt before the first Scan).
    const std::optional<std::vector<std::string>>& CheckList() const { return checkList_; }
    // The backup file of the last Repair command (empty before the first).
    const std::string& LastBackupFileName() const { return backupFileName_; }
    // Whether a command of the menus is enabled now (the update handlers' answer).
    bool IsCommandEnabled(WORD command) const;

    // OptionsWindow: how the settings load and save see this window.
    WindowRect Bounds() const override;
    WindowRect RestoredBounds() const override;
    void SetBounds(const WindowRect& bounds) override;
    ScreenSize Screen() const override;
    std::vector<WindowRect> MonitorWorkAreas() const override;
    std::optional<int> PlacementShowCommand() const override;
    void SaveCategoryTicks(CategoryTickSet& ticks) override;

    // The window procedure's side (see BoundWindowProc).
    void Attach(HWND window) {
        window_ = window;
        prompts_.SetOwner(window);
        shell_.SetOwner(window);
    }
    void Detach() { window_ = nullptr; }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    Prompts& UserPrompts() { return prompts_.Get(); }

  private:
    // MainWindow.cpp
    void CreateControls();
    void CreateToolBar();
    void FormCreate();
    void FormClose();
    void ArrangeControls();
    void SetStatusPanels();
    void OnPaint();
    void OnMinMaxInfo(MINMAXINFO& info) const;
    bool MoveFocusByTab(HWND from);
    SIZE DesignWindowSize() const;
    void SetToolBarImages();
    void SetToolBarButtonSize();
    void OnDpiChanged(int dpi, const RECT& suggested);
    void FitTreeColumn();
    bool FitTreeColumnToItsCaptions();

    // MainWindowCommands.cpp
    void OnCommand(WORD command);
    void OnInitMenuPopup(HMENU menu);
    void ShowResultsContextMenu(POINT screenPoint);
    // The status bar's counts, and the details line.
    void UpdateStatusCounts();
    // The details line under the list: why the selected row is listed.
    void UpdateRowDetails();
    void ScanCommand();
    // Runs the scan window over `checks`; the rows are appended to the list.
    ScanOutcome RunScanWindow(const std::vector<std::string>& checks);
    void ApplyIgnoreLists();
    void SelectAll();
    void SelectNone();
    void SelectAllOfType();
    void SelectNoneOfType();
    void SelectInvert();
    void ChangeSkin(int skinIndex);
    void OpenHelp();
    void OpenHomePage();
    // Commands of later work; empty for now.
    void AboutCommand();

    // MainWindowTools.cpp
    void RestoreCommand();
    void OptionsCommand();
    void BackupFullRegistryCommand();
    void WindowsBackupCommand();
    void OpenInRegistryEditorCommand();

    // MainWindowRepair.cpp
    void RepairCommand();
    // Scans `checks` again after a repair and appends the rows that are not listed yet: what the
    // repair left orphaned.
    void CheckAgain(const std::vector<std::string>& checks);

    // MainWindowNotifications.cpp
    LRESULT OnNotify(NMHDR* header);
    bool OnToolTipText(NMHDR* header);

    MainWindowArgs args_;
    WindowPrompts prompts_;
    WindowShell shell_;
    std::string registryEditorPath_;
    HWND window_ = nullptr;
    HWND toolBar_ = nullptr;
    HWND tvTitle_ = nullptr;
    HWND statusBar1_ = nullptr;
    HWND rowDetails_ = nullptr;
    CategoryTree tvRegistry_;
    ResultsList lvRegistryData_;
    // Pixel sizes at the DPI of the monitor the window is on.
    DpiScaler scale_;
    int treeWidth_ = kTreeWidth;
    unique_hfont font_;
    unique_himagelist toolBarImages_;  // outlives the tool bar, which does not own it
    unique_hmenu popupMenu1_;
    unique_haccel accelerators_;
    OptionsSetting options_;
    std::optional<std::vector<std::string>> checkList_;
    std::string backupFileName_;
    std::wstring toolTipText_;  // the last hint handed out as wide text
};

}  // namespace vantrel
