// The main window and the scan window under Wine, driven through their messages: the category
// tree's tick rules, Scan end to end over a seeded registry, Stop during a long scan, the
// selection commands, the settings across two runs and the layout after resizes.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/status/StatusCounts.h"
#include "dialogs/AboutBox.h"
#include "dialogs/OptionsDialog.h"
#include "dialogs/RestoreDialog.h"
#include "platform/ProductVersion.h"
#include "platform/TextCase.h"
#include "platform/win32/ExecutableFolder.h"
#include "scan/ScanIssue.h"
#include "tests/win32/MainWindowDriver.h"
#include "tests/win32/ModalScript.h"
#include "tests/win32/ResultsRows.h"
#include "tests/win32/ScratchArea.h"
#include "ui/DpiScale.h"
#include "ui/HelpFile.h"
#include "ui/ListViewItems.h"
#include "ui/WindowLayout.h"
#include "ui/WindowText.h"

namespace vantrel {
namespace {

using test::MainWindowUnderTest;
using test::PumpMessages;
using test::RepeatingTimer;
using test::ScratchFolder;
using test::ScratchKey;
using test::WriteFile;

constexpr int kRoot = 1;
constexpr int kFilesAndFolders = 2;
constexpr int kLocalMachine = 3;
constexpr int kCurrentUser = test::kFilesAndFoldersCurrentUser;
constexpr int kMruLists = 20;
constexpr int kUsers = 5;
constexpr int kStartMenu = 16;
constexpr int kWindowsFonts = 7;

std::vector<int> AllNodes() {
    std::vector<int> all;
    for (const CategoryNode& node : CategoryTable())
        all.push_back(node.imageIndex);
    return all;
}

std::vector<int> AllNodesBut(const std::vector<int>& left) {
    std::vector<int> rest;
    for (const int index : AllNodes()) {
        if (std::find(left.begin(), left.end(), index) == left.end())
            rest.push_back(index);
    }
    return rest;
}

using test::FreshMainWindow;
using MainWindowTree = FreshMainWindow;
using MainWindowScan = FreshMainWindow;
using MainWindowSelection = FreshMainWindow;
using MainWindowLayout = FreshMainWindow;
using MainWindowHelp = FreshMainWindow;

// --- Category tree --------------------------------------------------------------------------

TEST_F(MainWindowTree, FreshSettingsTickEveryNodeAndCollectAllInDisplayOrder) {
    MainWindowUnderTest& main = Main();
    EXPECT_EQ(main.TickedNodes(), AllNodes());

    std::vector<std::string> checkList;
    main.Window().Tree().WalkCategoryTree(main.Window().Tree().Root(), TreeWalkMode::Collect,
                                          &checkList, nullptr);
    // Every node of the check table, the group nodes too, in the table's order.
    std::vector<std::string> expected;
    for (const int index : AllNodes())
        expected.push_back(std::to_string(index));
    EXPECT_EQ(checkList, expected);
}

TEST_F(MainWindowTree, TickRules) {
    struct Case {
        const char* name;
        std::vector<int> clicks;  // boxes clicked, in order, on a fully ticked tree
        std::vector<int> ticked;  // the ticked nodes afterwards
    };
    const Case cases[] = {
        {"root unticks every node", {kRoot}, {}},
        {"root again ticks every node", {kRoot, kRoot}, AllNodes()},
        {"one drive of three leaves its group ticked",
         {kLocalMachine},
         AllNodesBut({kLocalMachine})},
        {"two drives of three leave the group ticked",
         {kLocalMachine, kCurrentUser},
         AllNodesBut({kLocalMachine, kCurrentUser})},
        {"the last drive unticks its group",
         {kLocalMachine, kCurrentUser, kUsers},
         AllNodesBut({kFilesAndFolders, kLocalMachine, kCurrentUser, kUsers})},
        {"a drive ticked again ticks its group",
         {kLocalMachine, kCurrentUser, kUsers, kUsers},
         AllNodesBut({kLocalMachine, kCurrentUser})},
        {"a group sets all its children", {kFilesAndFolders}, AllNodesBut({2, 3, 4, 5})},
        {"a group ticked again ticks its children",
         {kFilesAndFolders, kFilesAndFolders},
         AllNodes()},
        {"a leaf on the first level", {kStartMenu}, AllNodesBut({kStartMenu})},
        {"one ticked leaf keeps the root ticked", {kRoot, kWindowsFonts}, {kRoot, kWindowsFonts}},
        {"the root follows its last ticked child", {kRoot, kWindowsFonts, kWindowsFonts}, {}},
        {"a drive from nothing ticks group and root",
         {kRoot, kUsers},
         {kRoot, kFilesAndFolders, kUsers}},
    };
    MainWindowUnderTest& main = Main();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        main.Window().Tree().WalkCategoryTree(main.Window().Tree().Root(), TreeWalkMode::Set2,
                                              nullptr, nullptr);
        for (const int node : c.clicks)
            main.ClickTick(node);
        EXPECT_EQ(main.TickedNodes(), c.ticked);
    }
}

TEST_F(MainWindowTree, CaptionClicksChangeNoTickAndCollapsingIsRefused) {
    MainWindowUnderTest& main = Main();
    for (const int node : {kRoot, kFilesAndFolders, kCurrentUser, kStartMenu})
        main.ClickCaption(node);
    EXPECT_EQ(main.TickedNodes(), AllNodes());

    // As the user collapses: the minus key on the current node (TVM_EXPAND would not ask).
    for (const int node : {kRoot, kFilesAndFolders}) {
        ::SendMessageA(main.Tree(), TVM_SELECTITEM, TVGN_CARET,
                       reinterpret_cast<LPARAM>(main.Node(node)));
        ::SendMessageA(main.Tree(), WM_KEYDOWN, VK_SUBTRACT, 0);
        ::SendMessageA(main.Tree(), WM_KEYDOWN, VK_LEFT, 0);
        PumpMessages();
        const auto state = ::SendMessageA(main.Tree(), TVM_GETITEMSTATE,
                                          reinterpret_cast<WPARAM>(main.Node(node)), TVIS_EXPANDED);
        EXPECT_TRUE(state & TVIS_EXPANDED) << "node " << node;
    }
}

// Without a mouse: Tab moves between the list and the tree both ways, and the space bar flips
// the selected node's tick as a click on its box does (the rules themselves are TickRules').
TEST_F(MainWindowTree, TabReachesTheTreeAndTheSpaceBarFlipsATick) {
    MainWindowUnderTest& main = Main();
    const auto tab = [&](HWND from) {
        MSG key{from, WM_KEYDOWN, VK_TAB, 0, 0, {}};
        EXPECT_TRUE(main.Window().TranslateAccelerators(key));
        return ::GetFocus();
    };
    ::SetFocus(main.List());
    EXPECT_EQ(tab(main.List()), main.Tree());
    EXPECT_EQ(tab(main.Tree()), main.List());

    ::SendMessageA(main.Tree(), TVM_SELECTITEM, TVGN_CARET,
                   reinterpret_cast<LPARAM>(main.Node(kStartMenu)));
    ::SendMessageA(main.Tree(), WM_KEYDOWN, VK_SPACE, 0);
    ::SendMessageA(main.Tree(), WM_CHAR, ' ', 0);
    EXPECT_EQ(main.TickOf(kStartMenu), kUnticked);
    EXPECT_EQ(::SendMessageA(main.Tree(), TVM_GETNEXTITEM, TVGN_CARET, 0),
              reinterpret_cast<LRESULT>(main.Node(kStartMenu)))
        << "the space went on to the tree's search";
    ::SendMessageA(main.Tree(), WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(main.TickOf(kStartMenu), kTicked);
}

// --- Scan ------------------------------------------------------------------------------------

// Rows of the list whose key text lies below the scratch key.
std::vector<ScanIssue> RowsBelow(MainWindowUnderTest& main, const std::string& keyPrefix) {
    std::vector<ScanIssue> rows;
    for (int row = 0; row < main.RowCount(); ++row) {
        const ScanIssue& issue = main.Window().Results().Row(row);
        EXPECT_EQ(main.CellText(row, 0), issue.problem);
        EXPECT_EQ(main.CellText(row, 1), issue.keyText);
        EXPECT_EQ(main.CellText(row, 2), issue.valueText);
        if (issue.keyText.rfind(keyPrefix, 0) == 0)
            rows.push_back(issue);
    }
    return rows;
}

TEST_F(MainWindowScan, SeededCurrentUserEndToEndWithIgnoreFilter) {
    ScratchKey key;
    key.SetString(L"MissingTool", L"C:\\vantrel-missing\\tool.exe");
    key.SetString(L"Present", L"C:\\windows\\notepad.exe");
    key.SetString(L"IgnoredTool", L"C:\\vantrel-missing\\ignored.exe");
    key.CreateKey(L"Sub");
    key.SetValue(L"Deep", REG_SZ,
                 test::WideBytes(std::wstring(L"C:\\vantrel-gone\\deep.dll") + L'\0'), L"Sub");
    const std::string keyText = "HKEY_CURRENT_USER\\" + key.Path();

    // The value ignore entry matches whatever the letter case.
    const std::string lowered = LowerAscii(keyText + "\\ignoredtool");
    WriteFile(folder_.Path("options.ini"),
              "[IgnoreValue]\r\nCount=1\r\nValue1=" + lowered + "\r\n");
    MainWindowUnderTest& main = Main();
    main.TickOnly({kCurrentUser});
    main.Command(command::kScan);

    ASSERT_TRUE(main.Window().CheckList().has_value());
    EXPECT_EQ(*main.Window().CheckList(), (std::vector<std::string>{"1", "2", "4"}));
    const std::vector<ScanIssue> found = RowsBelow(main, keyText);
    ASSERT_EQ(found.size(), 2u);
    const std::string walked = FindCheck(CheckId(kCurrentUser))->problemCaption;
    EXPECT_EQ(found[0].problem, walked);
    EXPECT_EQ(found[0].keyText, keyText + "\\MissingTool");
    EXPECT_EQ(found[0].valueText, "C:\\vantrel-missing\\tool.exe");
    EXPECT_EQ(found[0].kind, RepairKind::DeleteValueInKey);
    EXPECT_EQ(found[1].problem, walked);
    EXPECT_EQ(found[1].keyText, keyText + "\\Sub\\Deep");
    EXPECT_EQ(main.RowTicks(), std::vector<bool>(static_cast<size_t>(main.RowCount()), true));
    const std::string total = std::to_string(main.RowCount());
    EXPECT_EQ(main.StatusText(0), " " + total + " problems found");
    EXPECT_EQ(main.StatusText(1), " " + total + " problems selected for repairing");
    EXPECT_TRUE(main.Notices().empty());
}

TEST_F(MainWindowScan, NothingTickedKeepsThePreviousRowsTicksAndCountsThem) {
    MainWindowUnderTest& main = Main();
    main.Command(command::kSelectAll);
    EXPECT_EQ(main.StatusText(0), " 0 problems found");
    EXPECT_EQ(main.StatusText(1), " 0 problems selected for repairing");

    const ScanIssue kept{"Fonts Issue", "HKEY_LOCAL_MACHINE\\SOFTWARE\\Fonts\\A", "a.ttf",
                         RepairKind::DeleteValueInKey};
    test::ShowRow(main.Window().Results(), kept);
    main.TickOnly({});
    main.Command(command::kScan);
    EXPECT_TRUE(main.Window().CheckList()->empty());
    ASSERT_EQ(main.RowCount(), 1);
    EXPECT_EQ(main.Window().Results().Row(0), kept);
    EXPECT_TRUE(main.IsRowTicked(0));
    EXPECT_EQ(main.StatusText(1), " 1 problems selected for repairing");
}

// A history entry is the user's to delete: its row is listed unticked and counted as one to
// review, and the details line under the list says why it is there.
TEST_F(MainWindowScan, ReviewRowsStartUntickedAndTheDetailsLineSaysWhy) {
    const std::wstring name = L"vantrel-review-" + std::to_wstring(::GetCurrentProcessId());
    const std::wstring history = L"C:\\vantrel-missing\\history.txt";
    const wchar_t* mru =
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU";
    ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, mru, name.c_str(), REG_SZ, history.c_str(),
                                static_cast<DWORD>((history.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    const std::unique_ptr<const wchar_t, std::function<void(const wchar_t*)>> removeEntry(
        name.c_str(),
        [&](const wchar_t* value) { ::RegDeleteKeyValueW(HKEY_CURRENT_USER, mru, value); });
    MainWindowUnderTest& main = Main();
    main.TickOnly({kMruLists});
    main.Command(command::kScan);

    const ResultsList& results = main.Window().Results();
    const std::string keyEnd = "\\" + std::string(name.begin(), name.end());
    int ours = -1;
    StatusCounts counts;
    for (int row = 0; row < results.Count(); ++row) {
        const std::string& key = results.Row(row).keyText;
        if (key.size() > keyEnd.size() &&
            key.compare(key.size() - keyEnd.size(), keyEnd.size(), keyEnd) == 0)
            ours = row;
        if (results.Row(row).risk == RowRisk::Review)
            ++counts.review;
    }
    ASSERT_GE(ours, 0);
    EXPECT_EQ(results.Row(ours).risk, RowRisk::Review);
    EXPECT_FALSE(main.IsRowTicked(ours));
    EXPECT_EQ(main.StatusText(2), ReviewPanelText(counts));

    SelectListRow(main.List(), ours);
    const std::string details = WindowText(main.Window().RowDetails());
    EXPECT_NE(details.find(results.Row(ours).reason), std::string::npos) << details;
    EXPECT_NE(details.find(RowRiskText(RowRisk::Review)), std::string::npos) << details;
}

// Values under the scratch key that all point at missing files: a scan long enough to stop.
void SeedManyMissingValues(ScratchKey& key, int keys, int valuesPerKey) {
    for (int k = 0; k < keys; ++k) {
        const std::wstring sub = L"K" + std::to_wstring(k);
        key.CreateKey(sub);
        for (int v = 0; v < valuesPerKey; ++v) {
            const std::wstring text =
                L"C:\\vantrel-missing\\" + sub + L"\\v" + std::to_wstring(v) + L".exe";
            key.SetValue(L"V" + std::to_wstring(v), REG_SZ,
                         test::WideBytes(std::wstring_view(text.c_str(), text.size() + 1)), sub);
        }
    }
}

// The scan window of this test's own thread: window tests of other processes may be
// scanning on the same display at the same time.
HWND FindOwnProgressWindow() {
    return test::FindOwnWindowOfClass(TfrmRegProgressHint::kClassName);
}

TEST_F(MainWindowScan, StopKeepsTheRowsFoundAndAddsNoneAfterwards) {
    ScratchKey key;
    constexpr int kKeys = 200;
    constexpr int kValuesPerKey = 100;
    SeedManyMissingValues(key, kKeys, kValuesPerKey);
    MainWindowUnderTest& main = Main();
    main.TickOnly({kCurrentUser});

    int rowsAtStop = -1;
    {
        // Stop as soon as rows have come in, from inside the scan window's modal loop.
        RepeatingTimer stopper(20, [&] {
            if (rowsAtStop >= 0 || main.RowCount() < 50)
                return;
            HWND progress = FindOwnProgressWindow();
            ASSERT_NE(progress, nullptr);
            ::SendMessageA(progress, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            rowsAtStop = main.RowCount();
        });
        main.Command(command::kScan);
    }
    ASSERT_GE(rowsAtStop, 50);
    EXPECT_EQ(main.RowCount(), rowsAtStop);
    EXPECT_LT(main.RowCount(), kKeys * kValuesPerKey) << "the scan ended before the stop";
    EXPECT_EQ(FindOwnProgressWindow(), nullptr);
    // Scan returns once the task has ended: whatever it handed over is waiting already.
    PumpMessages();
    EXPECT_EQ(main.RowCount(), rowsAtStop) << "a row arrived after the stop";
    EXPECT_EQ(main.RowTicks(), std::vector<bool>(static_cast<size_t>(rowsAtStop), true));
    EXPECT_TRUE(::IsWindowEnabled(main.Handle()));
}

// --- Selection commands ----------------------------------------------------------------------

TEST_F(MainWindowSelection, CommandsTicksAndEnabledState) {
    MainWindowUnderTest& main = Main();
    const std::vector<ScanIssue> rows = {
        {"Fonts Issue", "HKEY_LOCAL_MACHINE\\SOFTWARE\\Fonts", "a.ttf",
         RepairKind::DeleteNamedValue},
        {"Shared DLLs Issue", "HKEY_LOCAL_MACHINE\\SOFTWARE\\Dlls\\x.dll", "",
         RepairKind::DeleteValueInKey},
        {"Fonts Issue", "HKEY_LOCAL_MACHINE\\SOFTWARE\\Fonts", "b.ttf",
         RepairKind::DeleteNamedValue},
        {"fonts issue", "HKEY_LOCAL_MACHINE\\SOFTWARE\\Fonts", "c.ttf",
         RepairKind::DeleteNamedValue},
        {"Shortcut Issue", "C:\\Users\\a.lnk", "", RepairKind::DeleteNamedFile},
    };
    for (const ScanIssue& row : rows)
        test::ShowRow(main.Window().Results(), row);

    EXPECT_FALSE(main.Window().IsCommandEnabled(command::kSelectAllOfType));
    EXPECT_FALSE(main.Window().IsCommandEnabled(command::kSelectNoneOfType));
    EXPECT_TRUE(main.Window().IsCommandEnabled(command::kSelectAll));
    EXPECT_TRUE(main.Window().IsCommandEnabled(command::kSelectInvert));

    struct Step {
        const char* name;
        int selectRow;  // -1: no change
        WORD command;
        std::vector<bool> ticks;
    };
    const Step steps[] = {
        {"select all", -1, command::kSelectAll, {true, true, true, true, true}},
        {"select none", -1, command::kSelectNone, {false, false, false, false, false}},
        {"all of type, case counts",
         2,
         command::kSelectAllOfType,
         {true, false, true, false, false}},
        {"invert", -1, command::kSelectInvert, {false, true, false, true, true}},
        {"none of type keeps others",
         1,
         command::kSelectNoneOfType,
         {false, false, false, true, true}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        if (step.selectRow >= 0)
            main.SelectRow(step.selectRow);
        main.Command(step.command);
        EXPECT_EQ(main.RowTicks(), step.ticks);
        const auto ticked = std::count(step.ticks.begin(), step.ticks.end(), true);
        EXPECT_EQ(main.StatusText(0), " 5 problems found");
        EXPECT_EQ(main.StatusText(1),
                  " " + std::to_string(ticked) + " problems selected for repairing");
    }

    // The context menu's items follow the selection when it opens.
    HMENU popup = ::CreatePopupMenu();
    ::AppendMenuA(popup, MF_STRING, command::kSelectAllOfType, "of type");
    ::AppendMenuA(popup, MF_STRING, command::kOpenInRegistryEditor, "editor");
    const auto grayed = [&](WORD id) {
        ::SendMessageA(main.Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0);
        return (::GetMenuState(popup, id, MF_BYCOMMAND) & MF_GRAYED) != 0;
    };
    EXPECT_FALSE(grayed(command::kSelectAllOfType));
    EXPECT_FALSE(grayed(command::kOpenInRegistryEditor));
    main.SelectRow(4);  // a file row cannot be shown in the editor
    EXPECT_TRUE(grayed(command::kOpenInRegistryEditor));
    LVITEMA none{};
    none.stateMask = LVIS_SELECTED;
    ::SendMessageA(main.List(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                   reinterpret_cast<LPARAM>(&none));
    EXPECT_TRUE(grayed(command::kSelectAllOfType));
    ::DestroyMenu(popup);
}

TEST_F(MainWindowSelection, MouseTickIsCountedAtOnce) {
    MainWindowUnderTest& main = Main();
    test::ShowRow(main.Window().Results(),
                  ScanIssue{"Fonts Issue", "HKEY_LOCAL_MACHINE\\SOFTWARE\\Fonts", "a.ttf",
                            RepairKind::DeleteNamedValue});
    main.Command(command::kSelectNone);
    RECT box{};
    box.left = LVIR_ICON;
    ::SendMessageA(main.List(), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&box));
    // The check box lies left of the item's icon area.
    LVHITTESTINFO hit{};
    hit.pt = POINT{box.left - 8, (box.top + box.bottom) / 2};
    for (int x = box.left - 1; x >= 0; --x) {
        hit.pt.x = x;
        ::SendMessageA(main.List(), LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
        if (hit.flags & LVHT_ONITEMSTATEICON)
            break;
    }
    ASSERT_TRUE(hit.flags & LVHT_ONITEMSTATEICON);
    const LPARAM at = MAKELPARAM(hit.pt.x, hit.pt.y);
    ::PostMessageA(main.List(), WM_LBUTTONUP, 0, at);
    ::SendMessageA(main.List(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    PumpMessages(std::chrono::milliseconds(50));
    EXPECT_TRUE(main.IsRowTicked(0));
    EXPECT_EQ(main.StatusText(1), " 1 problems selected for repairing");
}

// A click on a row's text selects the row; only its box flips the tick.
TEST_F(MainWindowSelection, AClickOnARowsTextChangesNoTick) {
    MainWindowUnderTest& main = Main();
    test::ShowRow(main.Window().Results(),
                  ScanIssue{"Fonts Issue", "HKEY_LOCAL_MACHINE\\SOFTWARE\\Fonts", "a.ttf",
                            RepairKind::DeleteNamedValue});
    main.Command(command::kSelectAll);
    for (const int column : {1, 2}) {
        SCOPED_TRACE(column);
        RECT cell{};
        cell.top = column;
        cell.left = LVIR_LABEL;
        ASSERT_TRUE(
            ::SendMessageA(main.List(), LVM_GETSUBITEMRECT, 0, reinterpret_cast<LPARAM>(&cell)));
        const LPARAM at = MAKELPARAM((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
        ::PostMessageA(main.List(), WM_LBUTTONUP, 0, at);
        ::SendMessageA(main.List(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        PumpMessages();
        EXPECT_TRUE(main.IsRowTicked(0));
        EXPECT_EQ(main.StatusText(1), " 1 problems selected for repairing");
    }
}

// --- Settings across runs ---------------------------------------------------------------------

TEST(MainWindowSettings, TicksSkinAndMaximizedStateComeBackAtTheNextStart) {
    ScratchFolder folder;
    {
        MainWindowUnderTest first(folder.Path());
        first.ClickTick(kUsers);
        first.Command(static_cast<WORD>(command::kFirstSkin + 5));
        ::ShowWindow(first.Handle(), SW_MAXIMIZE);
        PumpMessages();
    }
    std::ifstream file(folder.Path("options.ini"));
    ASSERT_TRUE(file.good()) << "closing wrote no settings file";

    MainWindowUnderTest second(folder.Path());
    EXPECT_EQ(second.TickedNodes(), AllNodesBut({kUsers}));
    EXPECT_EQ(second.Window().Options().SkinIndex, 5);
    EXPECT_TRUE(::IsZoomed(second.Handle()));
    HMENU skins = ::GetSubMenu(::GetSubMenu(::GetMenu(second.Handle()), 0), 3);
    ASSERT_NE(skins, nullptr);
    ::SendMessageA(second.Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(skins), 0);
    for (int index = 0; index < command::kSkinCount; ++index)
        EXPECT_EQ(
            (::GetMenuState(skins, static_cast<UINT>(index), MF_BYPOSITION) & MF_CHECKED) != 0,
            index == 5)
            << "skin entry " << index;
}

TEST(MainWindowSettings, WindowsBackupIsHiddenOnThe9xFamilyOnly) {
    struct Case {
        const char* name;
        WindowsVersion version;
        bool shown;
    };
    // Each window costs Wine seconds to show and hide; the family rule itself is
    // IsWindows9x's.
    const Case cases[] = {{"Windows 98", WindowsVersion::Windows98, false},
                          {"Windows XP", WindowsVersion::WindowsXp, true}};
    for (const Case& c : cases) {
        ScratchFolder folder;
        MainWindowUnderTest main(folder.Path(), c.version);
        HMENU file = ::GetSubMenu(::GetMenu(main.Handle()), 0);
        EXPECT_EQ(
            ::GetMenuState(file, command::kWindowsBackup, MF_BYCOMMAND) != static_cast<UINT>(-1),
            c.shown)
            << c.name;
    }
}

// --- Layout -----------------------------------------------------------------------------------

TEST_F(MainWindowLayout, TheCaptionIsTheProductNameAndVersion) {
    char caption[64] = {};
    ::GetWindowTextA(Main().Handle(), caption, sizeof caption);
    EXPECT_STREQ(caption, kMainWindowCaption);
}

TEST_F(MainWindowLayout, ToolBarButtonsWithPicturesCaptionsAndHints) {
    MainWindowUnderTest& main = Main();
    const HWND bar = main.Window().ToolBar();
    struct Expected {
        WORD command;
        const char* caption;
        const char* hint;
    };
    const Expected buttons[] = {
        {command::kScan, "Scan",
         "Scan your entire Windows registry for errors and invalid entries"},
        {command::kRepair, "Repair", "safely repair invalid entries in your Windows Registry"},
        {command::kRestore, "Restore", "Restore any changes made using the software"},
        {command::kOptions, "Options", "Open the options dialog to set"},
        {command::kExit, "Exit", "Exit the program"},
    };
    ASSERT_EQ(::SendMessageA(bar, TB_BUTTONCOUNT, 0, 0), 5);
    const auto images = reinterpret_cast<HIMAGELIST>(::SendMessageA(bar, TB_GETIMAGELIST, 0, 0));
    ASSERT_NE(images, nullptr);
    EXPECT_EQ(::ImageList_GetImageCount(images), 5);
    for (int index = 0; index < 5; ++index) {
        SCOPED_TRACE(buttons[index].caption);
        TBBUTTON button{};
        ::SendMessageA(bar, TB_GETBUTTON, static_cast<WPARAM>(index),
                       reinterpret_cast<LPARAM>(&button));
        EXPECT_EQ(button.idCommand, buttons[index].command);
        EXPECT_EQ(button.iBitmap, index);
        char caption[64] = {};
        ::SendMessageA(bar, TB_GETBUTTONTEXTA, buttons[index].command,
                       reinterpret_cast<LPARAM>(caption));
        EXPECT_STREQ(caption, buttons[index].caption);
        NMTTDISPINFOA hint{};
        hint.hdr.hwndFrom = bar;
        hint.hdr.idFrom = buttons[index].command;
        hint.hdr.code = TTN_GETDISPINFOA;
        ::SendMessageA(main.Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&hint));
        ASSERT_NE(hint.lpszText, nullptr);
        EXPECT_STREQ(hint.lpszText, buttons[index].hint);
    }
}

TEST_F(MainWindowLayout, TreeColumnAndListAfterResizes) {
    MainWindowUnderTest& main = Main();
    RECT client{};
    ::GetClientRect(main.Handle(), &client);
    EXPECT_EQ(client.right, TfrmRegCleaner::kDesignClientWidth);
    EXPECT_EQ(client.bottom, TfrmRegCleaner::kDesignClientHeight);

    const SIZE sizes[] = {{800, 600}, {400, 300}, {1200, 900}, {640, 480}};
    for (const SIZE& size : sizes) {
        SCOPED_TRACE(std::to_string(size.cx) + "x" + std::to_string(size.cy));
        ::SetWindowPos(main.Handle(), nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOMOVE);
        PumpMessages();
        ::GetClientRect(main.Handle(), &client);
        const RECT tree = ChildRect(main.Tree());
        const RECT title = ChildRect(main.Window().TitleHeader());
        const RECT list = ChildRect(main.List());
        const RECT status = ChildRect(main.Window().StatusBar());
        // Its design width, or wider where a caption needs it (a scroll bar takes room).
        EXPECT_GE(tree.right - tree.left, TfrmRegCleaner::kTreeWidth);
        RECT treeClient{};
        ::GetClientRect(main.Tree(), &treeClient);
        EXPECT_LE(main.Window().Tree().WidestCaptionRight(), treeClient.right);
        EXPECT_EQ(client.right - tree.right, 5);
        EXPECT_EQ(title.left, tree.left);
        EXPECT_EQ(title.bottom, tree.top);
        EXPECT_EQ(list.left, 5);
        EXPECT_EQ(tree.left - list.right, 5);
        EXPECT_EQ(list.top, title.top);
        EXPECT_EQ(list.bottom, tree.bottom);
        // The details line of the selected row fills the gap under both.
        const RECT details = ChildRect(main.Window().RowDetails());
        EXPECT_EQ(details.top, list.bottom + 3);
        EXPECT_EQ(details.bottom, status.top);
        EXPECT_EQ(details.right, client.right - 7);
        EXPECT_EQ(status.bottom, client.bottom - 10);
        EXPECT_EQ(status.left, 5);
        EXPECT_EQ(status.right, client.right - 5);
        // The last panel (" N of them to review") reaches the bar's end, so its text is drawn
        // wherever the window is resized to.
        RECT review{};
        ::SendMessageA(main.Window().StatusBar(), SB_GETRECT, 2, reinterpret_cast<LPARAM>(&review));
        EXPECT_EQ(review.right, status.right - status.left);
    }
    MINMAXINFO limits{};
    ::SendMessageA(main.Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    EXPECT_EQ(limits.ptMinTrackSize.x, 150);
    EXPECT_EQ(limits.ptMinTrackSize.y, 50);
}

// Moved to a monitor of twice the DPI, the window takes the size Windows suggests and its pixel
// layout doubles, the user's column widths with it; moved back, all is as it was.
TEST_F(MainWindowLayout, AMoveToAnotherDpiRescalesTheWindow) {
    MainWindowUnderTest& main = Main();
    const HWND list = main.List();
    ::SendMessageA(list, LVM_SETCOLUMNWIDTH, 1, 333);
    const auto columnWidth = [&](int column) {
        return static_cast<int>(
            ::SendMessageA(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
    };
    const int problemWidth = columnWidth(0);
    const auto moveTo = [&](int dpi, const RECT& suggested) {
        ::SendMessageA(main.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                       reinterpret_cast<LPARAM>(&suggested));
        PumpMessages();
    };
    RECT before{};
    ::GetWindowRect(main.Handle(), &before);
    const int treeBefore = ChildRect(main.Tree()).right - ChildRect(main.Tree()).left;
    moveTo(192, RECT{0, 0, 1200, 1000});
    RECT moved{};
    ::GetWindowRect(main.Handle(), &moved);
    EXPECT_EQ(moved.right - moved.left, 1200);
    EXPECT_EQ(moved.bottom - moved.top, 1000);
    EXPECT_EQ(columnWidth(0), 2 * problemWidth);
    EXPECT_EQ(columnWidth(1), 666);
    EXPECT_GE(ChildRect(main.Tree()).right - ChildRect(main.Tree()).left,
              ScaleToDpi(TfrmRegCleaner::kTreeWidth, 192));
    EXPECT_EQ(ChildRect(main.Window().ToolBar()).bottom,
              ScaleToDpi(TfrmRegCleaner::kToolBarHeight, 192));
    moveTo(96, before);
    EXPECT_EQ(columnWidth(0), problemWidth);
    EXPECT_EQ(columnWidth(1), 333);
    EXPECT_EQ(ChildRect(main.Tree()).right - ChildRect(main.Tree()).left, treeBefore);
}

// --- Help ----------------------------------------------------------------------------------------

// Both go to the shell with its Open verb: the help file beside the program, and the home page.
TEST_F(MainWindowHelp, HelpOpensTheFileBesideTheProgramAndHomePageTheAddress) {
    MainWindowUnderTest& main = Main();
    main.Command(command::kHelp);
    main.Command(command::kHomePage);
    ASSERT_EQ(main.Opened().size(), 2u);
    EXPECT_EQ(main.Opened()[0].target, folder_.Path("Vantrel.chm"));
    EXPECT_EQ(main.Opened()[0].parameters, "");
    EXPECT_EQ(main.Opened()[1].target.rfind("https://", 0), 0u) << main.Opened()[1].target;
}

// F1 in a dialog opens that dialog's page of the help file beside the program, in the viewer
// that opens one page (the shell would open the start page).
TEST_F(MainWindowHelp, FOneInADialogOpensItsOwnPage) {
    MainWindowUnderTest& main = Main();
    struct Case {
        WORD command;
        const char* caption;
        int control;  // a control only this dialog has
        const char* page;
    };
    const Case cases[] = {
        {command::kAbout, AboutBox::kCaption, IDOK, AboutBox::kHelpPage},
        {command::kOptions, TfrmOptions::kCaption, TfrmOptions::kPages, TfrmOptions::kHelpPage},
        {command::kRestore, kProductName, TfrmRestore::kEntries, TfrmRestore::kHelpPage},
    };
    for (const Case& c : cases) {
        const size_t before = main.Opened().size();
        test::ModalScript script({test::ModalScript::OnDialog(
            c.caption,
            [](HWND dialog) {
                HELPINFO help{};
                help.cbSize = sizeof(help);
                help.iContextType = HELPINFO_WINDOW;
                ::SendMessageA(dialog, WM_HELP, 0, reinterpret_cast<LPARAM>(&help));
                ::SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            },
            c.control)});
        main.Command(c.command);
        EXPECT_TRUE(script.Finished()) << c.caption;
        ASSERT_EQ(main.Opened().size(), before + 1) << c.caption;
        EXPECT_EQ(main.Opened().back().target, kHelpViewer);
        EXPECT_EQ(main.Opened().back().parameters, HelpPageArgument(ExecutableFolder(), c.page));
    }
    // The scan window is no dialog, but has its page too.
    test::ModalScript scan({test::ModalScript::Step{
        [] { return FindOwnProgressWindow() != nullptr; },
        [] {
            const HWND window = FindOwnProgressWindow();
            HELPINFO help{};
            help.cbSize = sizeof(help);
            ::SendMessageA(window, WM_HELP, 0, reinterpret_cast<LPARAM>(&help));
            ::SendMessageA(window, WM_COMMAND, IDCANCEL, 0);
        }}});
    main.Command(command::kScan);
    EXPECT_TRUE(scan.Finished());
    EXPECT_EQ(main.Opened().back().parameters,
              HelpPageArgument(ExecutableFolder(), TfrmRegProgressHint::kHelpPage));
}

}  // namespace
}  // namespace vantrel
