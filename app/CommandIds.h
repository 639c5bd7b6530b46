#pragma once

#include <windows.h>

namespace vantrel {

// Command identifiers shared by the main menu, the tool bar, the context menu and the
// accelerators: items that share a command run the same handler.
namespace command {
constexpr WORD kScan = 1001;
constexpr WORD kRepair = 1002;
constexpr WORD kRestore = 1003;
constexpr WORD kOptions = 1004;
constexpr WORD kExit = 1005;
constexpr WORD kBackupFullRegistry = 1010;
constexpr WORD kWindowsBackup = 1011;
constexpr WORD kFirstSkin = 1020;  // "Change Skin" entries: kFirstSkin + skin index 0 to 7
constexpr int kSkinCount = 8;
constexpr WORD kSelectAll = 1040;
constexpr WORD kSelectAllOfType = 1041;
constexpr WORD kSelectNone = 1042;
constexpr WORD kSelectNoneOfType = 1043;
constexpr WORD kSelectInvert = 1044;
constexpr WORD kOpenInRegistryEditor = 1045;
constexpr WORD kHelp = 1050;
constexpr WORD kHomePage = 1051;
constexpr WORD kAbout = 1052;
}  // namespace command

// Child window identifiers of the main window.
namespace control {
constexpr int kToolBar = 2001;
constexpr int kTitle = 2002;
constexpr int kTree = 2003;
constexpr int kResults = 2004;
constexpr int kStatusBar = 2005;
constexpr int kRowDetails = 2006;
}  // namespace control

}  // namespace vantrel
