#include "scan/CheckTable.h"

#include <algorithm>
#include <charconv>

#include "scan/ScanContext.h"

namespace vantrel {

// Each check is a function in its own file under scan/checks/, which also defines the lists it
// reads. Adding a check is its file, its declarations here and its row in the table below.
void CheckFilesAndFoldersLocalMachine(ScanContext& context);
void CheckFilesAndFoldersCurrentUser(ScanContext& context);
void CheckFilesAndFoldersUsers(ScanContext& context);
void CheckSoftwareLocations(ScanContext& context);
extern const RegistryList kAppPathsList;
void CheckWindowsFonts(ScanContext& context);
extern const RegistryList kNtFontsList, k9xFontsList;
void CheckHelpFilePaths(ScanContext& context);
extern const RegistryList kHelpList, kHtmlHelpList;
void CheckSharedDlls(ScanContext& context);
extern const RegistryList kSharedDllsList;
void CheckStartupPrograms(ScanContext& context);
extern const RegistryList kUserRunList, kUserRunOnceList, kMachineRunList, kMachineRunOnceList,
    kConfigToolStartupList;
void CheckAddRemovePrograms(ScanContext& context);
extern const RegistryList kUninstallList;
void CheckFileExtensions(ScanContext& context);
extern const RegistryList kMachineClassesList, kUserFileExtsList;
void CheckCustomControls(ScanContext& context);
extern const RegistryList kClassIdList;
void CheckObsoleteSoftware(ScanContext& context);
extern const RegistryList kUserSoftwareList, kMachineSoftwareList;
void CheckWindowsServices(ScanContext& context);
extern const RegistryList kServicesList;
void CheckStartMenu(ScanContext& context);
extern const RegistryList kMenuOrderXpList, kMenuOrder2000List, kMenuOrderClassicList;
void CheckShortcuts(ScanContext& context);
void CheckSoundEvents(ScanContext& context);
extern const RegistryList kSoundSchemesList;
void CheckInvalidActiveX(ScanContext& context);
extern const RegistryList kTypeLibList;
void CheckMruLists(ScanContext& context);
extern const RegistryList kOpenSaveMruList;
void CheckInstaller(ScanContext& context);
extern const RegistryList kInstallerUninstallList, kInstallerFoldersList, kArpCacheList;
void CheckApplications(ScanContext& context);
extern const RegistryList kApplicationsList;

const std::vector<CategoryNode>& CategoryTable() {
    // clang-format off
    static const std::vector<CategoryNode> kTable = {
        // image, level, tree caption, progress caption, problem caption, check, lists it reads
        {1, 0, "My Computers", nullptr, nullptr, nullptr, {}},
        {2, 1, "Files and Folders", nullptr, nullptr, nullptr, {}},
        {3, 2, "HKEY_LOCAL_MACHINE", "Scanning Files and Folders - HKEY_LOCAL_MACHINE...",
            "Invalid File or Folder", CheckFilesAndFoldersLocalMachine, {}},
        {4, 2, "HKEY_CURRENT_USER", "Scanning Files and Folders - HKEY_CURRENT_USER...",
            "Invalid File or Folder", CheckFilesAndFoldersCurrentUser, {}},
        {5, 2, "HKEY_USERS", "Scanning Files and Folders - HKEY_USERS...",
            "Invalid File or Folder", CheckFilesAndFoldersUsers, {}},
        {16, 1, "Start Menu", "Scanning Start Menu...", "Old Start Menu Key", CheckStartMenu,
            {&kMenuOrderXpList, &kMenuOrder2000List, &kMenuOrderClassicList}},
        // Shows the Software Locations caption: it has none of its own.
        {14, 1, "Obsolete Software", "Scanning Software Locations...", "Obsolete Software Key",
            CheckObsoleteSoftware, {&kUserSoftwareList, &kMachineSoftwareList}},
        {12, 1, "File Extensions", "Scanning File Extensions...", "Unused File Extension",
            CheckFileExtensions, {&kMachineClassesList, &kUserFileExtsList}},
        {19, 1, "Invalid ActiveX", "Scanning Invalid ActiveX...", "ActiveX Issue",
            CheckInvalidActiveX, {&kTypeLibList}},
        {22, 1, "Applications", nullptr, "Open with Application Issue", CheckApplications,
            {&kApplicationsList}},
        {11, 1, "Add/Remove Programs", "Scanning Add/Remove Programs...",
            "Add/Remove Programs Issue", CheckAddRemovePrograms, {&kUninstallList}},
        {9, 1, "Shared DLLs", "Scanning Shared DLLs...", "Missing Shared Dlls", CheckSharedDlls,
            {&kSharedDllsList}},
        {8, 1, "Help File Paths", "Scanning Invalid Help Files...", "Invalid Help Files",
            CheckHelpFilePaths, {&kHelpList, &kHtmlHelpList}},
        {6, 1, "Software Locations", "Scanning Software Locations...", "Software Locations Issue",
            CheckSoftwareLocations, {&kAppPathsList}},
        {7, 1, "Windows Fonts", "Scanning Windows Fonts...", "Fonts Issue", CheckWindowsFonts,
            {&kNtFontsList, &k9xFontsList}},
        {18, 1, "Sound and Appevents", "Scanning Sound and Appevents...", "Missing Sound File",
            CheckSoundEvents, {&kSoundSchemesList}},
        {10, 1, "Startup Programs", "Scanning Startup Programs...", "Missing Startup Programs",
            CheckStartupPrograms, {&kUserRunList, &kUserRunOnceList, &kMachineRunList,
            &kMachineRunOnceList, &kConfigToolStartupList}},
        {13, 1, "Custom Controls", "Scanning Custom Controls...", "Custom Controls Issue",
            CheckCustomControls, {&kClassIdList}},
        {15, 1, "Windows Services", "Scanning Windows Services...", "Windows Service Issue",
            CheckWindowsServices, {&kServicesList}},
        {17, 1, "Shortcuts", "Scanning Shortcuts...", "Missing ShortCut reference",
            CheckShortcuts, {}},
        {20, 1, "MRU and History Lists", "Scanning MRU and History Lists...",
            "Missing MRU and History Lists file", CheckMruLists, {&kOpenSaveMruList}},
        {21, 1, "Installer", "Scanning Installer...", "Installer Refrence Issue", CheckInstaller,
            {&kInstallerUninstallList, &kInstallerFoldersList, &kArpCacheList}},
    };
    // clang-format on
    return kTable;
}

const std::vector<WindowsOwnedTree>& WindowsOwnedTrees() {
    using H = OwnerHives;
    static const std::vector<WindowsOwnedTree> kTrees = {
        // Caches and state that Windows writes and prunes itself.
        {H::User, "Software\\Microsoft\\Windows\\CurrentVersion\\PushNotifications",
         "the notification platform's image cache and app state"},
        {H::Both, "Software\\Microsoft\\Speech_OneCore",
         "the speech runtime's copies of machine keys and its voices' path stems"},
        {H::User,
         "Software\\Classes\\Local "
         "Settings\\Software\\Microsoft\\Windows\\CurrentVersion\\AppModel",
         "store apps' deployment state"},
        {H::User,
         "Software\\Classes\\Local Settings\\Software\\Microsoft\\Windows\\CurrentVersion\\"
         "AppContainer",
         "store apps' container state"},
        {H::User, "Software\\Classes\\Local Settings\\MrtCache", "store apps' resource cache"},
        {H::User, "Software\\Classes\\Local Settings\\Software\\Microsoft\\Windows\\Shell",
         "the shell's program-name cache (MuiCache) and folder views (Bags, BagMRU)"},
        {H::Both, "Software\\Classes\\Extensions\\ContractId",
         "store apps' contract registrations"},
        {H::Both, "Software\\Classes\\AppX*", "store apps' class registrations"},
        {H::Machine, "Software\\Microsoft\\Windows\\CurrentVersion\\AppModel",
         "store apps' deployment state"},
        {H::Machine, "Software\\Microsoft\\Windows\\CurrentVersion\\Appx",
         "store apps' package store; a deleted PackageRootFolder breaks an installed app"},
        {H::Both, "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\5.0\\Cache",
         "internet cache containers (Extensible Cache, MSHist)"},
        {H::Both, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
         "the shell rewrites it from User Shell Folders, which stays judged"},
        {H::Both, "Software\\Microsoft\\Windows\\CurrentVersion\\Group Policy",
         "group policy history and state"},
        {H::Both, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved",
         "Windows' record of which startup programs the user enabled"},
        {H::User, "Software\\Microsoft\\Windows\\CurrentVersion\\CloudStore",
         "start menu and taskbar state"},
        {H::User, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FeatureUsage",
         "the taskbar's usage counts"},
        {H::User, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\UserAssist",
         "the start menu's usage counts"},
        {H::User,
         "Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Compatibility Assistant",
         "the compatibility assistant's record of programs run"},
        {H::Machine, "Software\\Microsoft\\Windows\\CurrentVersion\\Installer\\UserData",
         "Windows Installer's database of installed products and their components"},
        {H::Machine, "Software\\Classes\\Installer",
         "Windows Installer's product registrations and their source lists"},
        {H::User, "Software\\Microsoft\\Installer",
         "Windows Installer's registrations of a user's products"},
        // Histories that Windows keeps and trims itself.
        {H::User, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\WordWheelQuery",
         "Explorer's search history"},
        {H::User, "Software\\Microsoft\\Windows\\CurrentVersion\\Search",
         "the search box's history and jump lists"},
        {H::User, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Wallpapers",
         "the wallpaper history"},
        {H::User, "Software\\Microsoft\\Windows\\CurrentVersion\\Lock Screen",
         "the lock screen's image history"},
        {H::User, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\TypedPaths",
         "the address bar's typed paths"},
        {H::User, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs",
         "the recent documents list"},
        // The user's own choices and configuration.
        {H::Both, "Software\\Microsoft\\Windows\\Shell\\Associations",
         "the user's default programs for protocols and types"},
        {H::User, "Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Layers",
         "the compatibility settings the user chose for programs"},
        {H::User, "Environment",
         "environment variables are configuration: TEMP and TMP name the user's temporary folder, "
         "missing or not"},
        {H::User, "Volatile Environment", "the logon session's environment, written by Windows"},
        {H::Machine, "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment",
         "the machine's environment variables are configuration"},
    };
    return kTrees;
}

std::vector<const RegistryList*> ListsReadByChecks() {
    std::vector<const RegistryList*> lists;
    for (const CategoryNode& node : CategoryTable())
        lists.insert(lists.end(), node.reads.begin(), node.reads.end());
    return lists;
}

std::vector<const CategoryNode*> ChecksInIdOrder() {
    std::vector<const CategoryNode*> checks;
    for (const CategoryNode& node : CategoryTable()) {
        if (node.IsCheck())
            checks.push_back(&node);
    }
    std::sort(checks.begin(), checks.end(),
              [](const CategoryNode* a, const CategoryNode* b) { return a->Id() < b->Id(); });
    return checks;
}

const CategoryNode* FindCheck(CheckId id) {
    for (const CategoryNode& node : CategoryTable()) {
        if (node.IsCheck() && node.Id() == id)
            return &node;
    }
    return nullptr;
}

std::optional<CheckId> ParseCheckId(std::string_view text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end || FindCheck(CheckId(value)) == nullptr)
        return std::nullopt;
    return CheckId(value);
}

std::vector<std::string> CheckIdsInTreeOrder() {
    std::vector<std::string> ids;
    for (const CategoryNode& node : CategoryTable()) {
        if (node.IsCheck())
            ids.push_back(node.Id().Text());
    }
    return ids;
}

const char* GroupCaptionOf(CheckId id) {
    const char* group = nullptr;
    for (const CategoryNode& node : CategoryTable()) {
        if (node.level == 1)
            group = node.IsCheck() ? nullptr : node.treeCaption;
        if (node.IsCheck() && node.Id() == id)
            return node.level > 1 ? group : nullptr;
    }
    return nullptr;
}

void RunCheck(CheckId id, ScanContext& context) {
    const CategoryNode* check = FindCheck(id);
    if (check == nullptr)
        return;
    context.BeginCheck(*check);
    if (check->progressCaption != nullptr)
        context.SetCaptionLabel(check->progressCaption);
    check->run(context);
}

}  // namespace vantrel
