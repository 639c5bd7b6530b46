// TfrmRegCleaner's commands: WM_COMMAND from the menus, the tool bar, the context menu and the
// accelerators, and the update handlers that enable them.
#include <windows.h>

#include "app/CommandIds.h"
#include "app/MainWindow.h"
#include "app/status/RowDetails.h"
#include "app/status/StatusCounts.h"
#include "dialogs/AboutBox.h"
#include "platform/PathText.h"
#include "scan/IgnoreFilter.h"
#include "ui/HelpFile.h"
#include "ui/HomePage.h"
#include "ui/Skin.h"

namespace vantrel {
namespace {

bool IsSkinCommand(WORD command) {
    return command >= command::kFirstSkin && command < command::kFirstSkin + command::kSkinCount;
}

}  // namespace

void TfrmRegCleaner::OnCommand(WORD command) {
    if (IsSkinCommand(command)) {
        ChangeSkin(command - command::kFirstSkin);
        return;
    }
    // Accelerators reach here even when the menu item is disabled.
    if (!IsCommandEnabled(command))
        return;
    switch (command) {
        case command::kScan:
            ScanCommand();
            break;
        case command::kRepair:
            RepairCommand();
            break;
        case command::kRestore:
            RestoreCommand();
            break;
        case command::kOptions:
            OptionsCommand();
            break;
        case command::kExit:
            ::PostMessageA(window_, WM_CLOSE, 0, 0);
            break;
        case command::kBackupFullRegistry:
            BackupFullRegistryCommand();
            break;
        case command::kWindowsBackup:
            WindowsBackupCommand();
            break;
        case command::kSelectAll:
            SelectAll();
            break;
        case command::kSelectAllOfType:
            SelectAllOfType();
            break;
        case command::kSelectNone:
            SelectNone();
            break;
        case command::kSelectNoneOfType:
            SelectNoneOfType();
            break;
        case command::kSelectInvert:
            SelectInvert();
            break;
        case command::kOpenInRegistryEditor:
            OpenInRegistryEditorCommand();
            break;
        case command::kHelp:
            OpenHelp();
            break;
        case command::kHomePage:
            OpenHomePage();
            break;
        case command::kAbout:
            AboutCommand();
            break;
        default:
            break;
    }
}

bool TfrmRegCleaner::IsCommandEnabled(WORD command) const {
    switch (command) {
        case command::kSelectAllOfType:
        case command::kSelectNoneOfType:
            return lvRegistryData_.SelectedRow().has_value();
        case command::kOpenInRegistryEditor: {
            // File rows cannot be shown in the editor.
            const auto row = lvRegistryData_.SelectedRow();
            return row && lvRegistryData_.Row(*row).kind != RepairKind::DeleteNamedFile;
        }
        default:
            return true;
    }
}

void TfrmRegCleaner::OnInitMenuPopup(HMENU menu) {
    static constexpr WORD kUpdated[] = {command::kSelectAllOfType, command::kSelectNoneOfType,
                                        command::kOpenInRegistryEditor};
    for (const WORD command : kUpdated)
        ::EnableMenuItem(
            menu, command,
            static_cast<UINT>(MF_BYCOMMAND | (IsCommandEnabled(command) ? MF_ENABLED : MF_GRAYED)));
    // "Change Skin": the entry of the current index is ticked (none for an index outside 0-7).
    for (int index = 0; index < command::kSkinCount; ++index)
        ::CheckMenuItem(
            menu, static_cast<UINT>(command::kFirstSkin + index),
            static_cast<UINT>(MF_BYCOMMAND |
                              (index == options_.SkinIndex ? MF_CHECKED : MF_UNCHECKED)));
    MENUITEMINFOA radio{};
    radio.cbSize = sizeof(radio);
    radio.fMask = MIIM_FTYPE;
    radio.fType = MFT_RADIOCHECK;
    for (int index = 0; index < command::kSkinCount; ++index)
        ::SetMenuItemInfoA(menu, static_cast<UINT>(command::kFirstSkin + index), FALSE, &radio);
}

void TfrmRegCleaner::ShowResultsContextMenu(POINT screenPoint) {
    if (screenPoint.x == -1 && screenPoint.y == -1) {
        // From the keyboard: at the list's top left corner.
        screenPoint = POINT{0, 0};
        ::ClientToScreen(lvRegistryData_.Handle(), &screenPoint);
    }
    HMENU popup = ::GetSubMenu(popupMenu1_.get(), 0);
    ::TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, screenPoint.x, screenPoint.y, 0,
                     window_, nullptr);
}

void TfrmRegCleaner::UpdateStatusCounts() {
    const StatusCounts counts = CountStatus(lvRegistryData_.Ticks(), lvRegistryData_.ReviewCount());
    ::SendMessageA(statusBar1_, SB_SETTEXTA, 0,
                   reinterpret_cast<LPARAM>(FoundPanelText(counts).c_str()));
    ::SendMessageA(statusBar1_, SB_SETTEXTA, 1,
                   reinterpret_cast<LPARAM>(SelectedPanelText(counts).c_str()));
    ::SendMessageA(statusBar1_, SB_SETTEXTA, 2,
                   reinterpret_cast<LPARAM>(ReviewPanelText(counts).c_str()));
    // The rows changed; the selected one may have gone.
    UpdateRowDetails();
}

void TfrmRegCleaner::UpdateRowDetails() {
    const auto row = lvRegistryData_.SelectedRow();
    ::SetWindowTextA(rowDetails_,
                     RowDetailsText(row ? &lvRegistryData_.Row(*row) : nullptr).c_str());
}

ScanOutcome TfrmRegCleaner::RunScanWindow(const std::vector<std::string>& checks) {
    TfrmRegProgressHint progress(ScanProgressArgs{
        window_, args_.instance, args_.registry, args_.files, args_.windowsVersion, checks,
        lvRegistryData_, prompts_.Injected(), args_.scanLoopObserver, shell_.Injected()});
    return progress.ShowModal();
}

void TfrmRegCleaner::ScanCommand() {
    if (!checkList_)
        checkList_.emplace();
    checkList_->clear();
    tvRegistry_.WalkCategoryTree(tvRegistry_.Root(), TreeWalkMode::Collect, &*checkList_, nullptr);
    if (lvRegistryData_.Count() == 0)
        lvRegistryData_.ResetKeyAndValueColumnWidths();
    // With nothing ticked the previous results stay.
    if (!checkList_->empty())
        lvRegistryData_.Clear();

    const ScanOutcome outcome = RunScanWindow(*checkList_);

    lvRegistryData_.TickSafeRows();
    ApplyIgnoreLists();
    UpdateStatusCounts();
    if (outcome.end == ScanOutcome::End::EndedEarly) {
        // A partial result must not pass for a whole one.
        UserPrompts().ShowNotice("The scan stopped early: " + outcome.reason +
                                 "\r\nThe problems found until then are listed.");
    }
}

void TfrmRegCleaner::ApplyIgnoreLists() {
    if (lvRegistryData_.Count() == 0)
        return;
    lvRegistryData_.FitKeyAndValueColumns();
    const IgnoreLists lists{options_.IgnoreValueList, options_.IgnoreKeyList};
    lvRegistryData_.RemoveRows(IgnoredRowIndexes(lvRegistryData_.Rows(), lists));
}

void TfrmRegCleaner::SelectAll() {
    lvRegistryData_.TickAll(true);
    UpdateStatusCounts();
}

void TfrmRegCleaner::SelectNone() {
    lvRegistryData_.TickAll(false);
    UpdateStatusCounts();
}

void TfrmRegCleaner::SelectAllOfType() {
    if (const auto row = lvRegistryData_.SelectedRow())
        lvRegistryData_.TickAllOfCaption(lvRegistryData_.Row(*row).problem, true);
    UpdateStatusCounts();
}

void TfrmRegCleaner::SelectNoneOfType() {
    if (const auto row = lvRegistryData_.SelectedRow())
        lvRegistryData_.TickAllOfCaption(lvRegistryData_.Row(*row).problem, false);
    UpdateStatusCounts();
}

void TfrmRegCleaner::SelectInvert() {
    lvRegistryData_.InvertTicks();
    UpdateStatusCounts();
}

void TfrmRegCleaner::ChangeSkin(int skinIndex) {
    options_.SkinIndex = skinIndex;
    SelectSkin(skinIndex, args_.executableFolder);
    ApplyCurrentSkin(window_);
}

void TfrmRegCleaner::OpenHelp() {
    // A missing file is the shell's to report.
    shell_.Get().Open(JoinFilePath(args_.executableFolder, kHelpFileName), "");
}

void TfrmRegCleaner::OpenHomePage() {
    shell_.Get().Open(kHomePageAddress, "");
}

void TfrmRegCleaner::AboutCommand() {
    AboutBox about(AboutBoxArgs{window_, prompts_.Injected(), shell_.Injected()});
    about.ShowModal();
}

}  // namespace vantrel
