// The scan engine end to end against Wine's real registry and files: seeded stale and healthy
// entries for every check, compared as whole rows in the order the scan finds them.
#include <windows.h>

#include <shlobj.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "platform/PathText.h"
#include "platform/TextCase.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Version.h"
#include "scan/CheckTable.h"
#include "scan/ScanTaskThread.h"
#include "tests/core/RecordingSink.h"
#include "tests/win32/RegistrySeed.h"
#include "tests/win32/UnixSymlink.h"

namespace vantrel {

namespace {

using test::RecordingSink;

// Every seeded entry carries this text (letter case aside) in its row's key or value text;
// Wine's own stale entries do not. The folder's name lacks it, so a row whose key text is
// fixed (shared DLLs, type libraries) names a file that carries it.
constexpr const char* kMarker = "vantrele2e";
// The lists the checks read, as the check table names them: a list of the classes root is the
// machine's Software\Classes key here.
std::string ListPath(int check, size_t index = 0) {
    const RegistryList& list = *FindCheck(CheckId(check))->reads.at(index);
    if (list.root == RootKey::ClassesRoot)
        return JoinKeyPath("Software\\Classes", list.path);
    return std::string(list.path);
}
constexpr const char* kFolder = "C:\\vantrel-e2e";
const std::string kAppPaths = ListPath(6);
const std::string kFonts = ListPath(7);
const std::string kHelp = ListPath(8);
const std::string kSharedDlls = ListPath(9);
const std::string kRun = ListPath(10);
const std::string kStartupReg = ListPath(10, 4);
const std::string kUninstall = ListPath(11);
const std::string kTypeLib = ListPath(19);
constexpr const char* kStaleTypeLib = "{E2E00000-0000-4000-8000-00000000E2E0}";
constexpr const char* kHealthyTypeLib = "{E2E00000-0000-4000-8000-00000000E2E1}";
const std::string kClasses = ListPath(12);
const std::string kFileExts = ListPath(12, 1);
const std::string kClsid = ListPath(13);
constexpr const char* kServerClass = "{E2E00000-0000-4000-8000-00000000E2E2}";
constexpr const char* kLocalServerClass = "{E2E00000-0000-4000-8000-00000000E2E3}";
constexpr const char* kFolderServerClass = "{E2E00000-0000-4000-8000-00000000E2E4}";
const std::string kServices = ListPath(15);
const std::string kMenuOrder = ListPath(16);
const std::string kSchemeApps = ListPath(18);
const std::string kOpenSaveMru = ListPath(20);
const std::string kInstallerFolders = ListPath(21, 1);
const std::string kArpCache = ListPath(21, 2);
const std::string kApplications = ListPath(22);
constexpr const char* kLinksFolder = "VantrelE2E Links";
// The 32-bit view's copies of the machine's fixed keys, where 32-bit programs register.
constexpr const char* kUninstall32 =
    "Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr const char* kRun32 = "Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kVendor32 = "Software\\Wow6432Node\\VantrelE2E32";

// Every category of the tree, in its order; the two group nodes run nothing.
std::vector<std::string> CatalogueOrder() {
    std::vector<std::string> ids;
    for (const CategoryNode& node : CategoryTable())
        ids.push_back(std::to_string(node.imageIndex));
    return ids;
}

std::string In(const std::string& name) {
    return std::string(kFolder) + "\\" + name;
}
std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

std::string Join(std::initializer_list<std::string> parts) {
    std::string out;
    for (const auto& part : parts)
        out += (out.empty() ? "" : "\\") + part;
    return out;
}

std::string SpecialFolder(int csidl) {
    char path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)))
        return "";
    return path;
}

ScanIssue Row(int check, std::string key, std::string value, RepairKind kind) {
    return ScanIssue{FindCheck(CheckId(check))->problemCaption, std::move(key), std::move(value),
                     kind};
}

// All four fields of every row, one row a line: a failure shows the difference line by line.
std::string Lines(const std::vector<ScanIssue>& rows) {
    std::string text;
    for (const ScanIssue& row : rows) {
        text += row.problem + " | " + row.keyText + " | " + row.valueText + " | " +
                std::to_string(static_cast<int>(row.kind)) + "\n";
    }
    return text;
}

void Append(std::vector<ScanIssue>& rows, const std::vector<ScanIssue>& more) {
    rows.insert(rows.end(), more.begin(), more.end());
}

class ScanEndToEnd : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(com.Succeeded()) << "the shell link object needs COM on this thread";
        SeedFiles();
        SeedFileValueChecks();
        SeedFileExtensions();
        SeedCustomControls();
        SeedObsoleteSoftware();
        SeedServices();
        SeedStartMenu();
        SeedShortcuts();
        SeedSounds();
        SeedMruLists();
        SeedInstaller();
        SeedApplications();
        SeedThirtyTwoBitPrograms();
    }

    void SeedFiles() {
        seed.Folder(kFolder);
        seed.Folder(In("vantrele2e-folder"));
        for (const char* file :
             {"present.exe", "vantrele2e-present.dll", "vantrele2e-zero.dll", "vantrele2e-ok.exe",
              "vantrele2e-ok.hlp", "vantrele2e-ok.dll", "vantrele2e-ok.wav", "vantrele2e-ok.txt",
              "vantrele2e-report.txt", "vantrele2e-target.txt"}) {
            seed.CreateFileAt(In(file));
        }
        seed.CreateFileAt(SpecialFolder(CSIDL_FONTS) + "\\vantrele2e-serif.ttf");
    }

    // Checks 3 to 11 and 19.
    void SeedFileValueChecks() {
        const HKEY lm = HKEY_LOCAL_MACHINE;
        const HKEY cu = HKEY_CURRENT_USER;
        seed.String(lm, "Software\\VantrelE2E\\Paths", "Missing", In("missing\\app.exe"));
        seed.String(lm, "Software\\VantrelE2E\\Paths", "Present", In("present.exe"));
        seed.String(lm, "Software\\VantrelE2E\\Paths", "Folder", kFolder);
        seed.Dword(lm, "Software\\VantrelE2E\\Paths", "Count", 7);
        seed.String(cu, "Software\\VantrelE2E", "Recent", In("gone.txt"));
        seed.String(cu, "Software\\VantrelE2E", "Viewer", Quoted(In("present.exe")) + " /view");

        seed.String(lm, Join({kAppPaths, "vantrele2e-gone.exe"}), "", In("vantrele2e-gone.exe"));
        seed.String(lm, Join({kAppPaths, "vantrele2e-ok.exe"}), "",
                    Quoted(In("vantrele2e-ok.exe")));
        seed.String(lm, kFonts, "VantrelE2E Sans (TrueType)", "vantrele2e-sans.ttf");
        seed.String(lm, kFonts, "VantrelE2E Serif (TrueType)", "VANTRELE2E-SERIF.TTF");
        seed.String(lm, kHelp, "vantrele2e.hlp", kFolder);
        seed.String(lm, kHelp, "vantrele2e-ok.hlp", std::string(kFolder) + "\\");
        seed.Dword(lm, kHelp, "vantrele2e-number.hlp", 1);
        seed.Dword(lm, kSharedDlls, In("vantrele2e-gone-shared.dll"), 1);
        seed.Dword(lm, kSharedDlls, In("vantrele2e-present.dll"), 3);
        seed.Dword(lm, kSharedDlls, In("vantrele2e-zero.dll"), 0);
        seed.String(cu, kRun, "VantrelE2EAgent", Quoted(In("agent.exe")) + " /min");
        seed.String(lm, kRun, "VantrelE2EOk", In("present.exe") + " /x");
        seed.String(lm, Join({kStartupReg, "VantrelE2EOld"}), "command", In("old.exe"));
        seed.Key(lm, Join({kUninstall, "VantrelE2EEmpty"}));
        seed.String(lm, Join({kUninstall, "VantrelE2EApp"}), "DisplayName", "VantrelE2E App");
        seed.String(lm, Join({kTypeLib, kStaleTypeLib, "1.0\\0\\win32"}), "",
                    In("vantrele2e-gone.DLL") + ", 1");
        seed.String(lm, Join({kTypeLib, kHealthyTypeLib, "1.0\\0\\win32"}), "",
                    In("vantrele2e-present.dll"));
    }

    void SeedFileExtensions() {
        const HKEY lm = HKEY_LOCAL_MACHINE;
        seed.String(lm, Join({kClasses, ".vantrele2e-empty"}), "", "");
        seed.String(lm, Join({kClasses, "VantrelE2E.EmptyDoc"}), "", "");
        seed.String(lm, Join({kClasses, ".vantrele2e-named"}), "", "");
        seed.String(lm, Join({kClasses, ".vantrele2e-named"}), "Content Type", "");
        seed.String(lm, Join({kClasses, ".vantrele2e-sub"}), "", "");
        seed.Key(lm, Join({kClasses, ".vantrele2e-sub", "ShellNew"}));
        seed.Dword(lm, Join({kClasses, ".vantrele2e-number"}), "", 0);
        seed.Key(lm, Join({kClasses, ".vantrele2e-novalue"}));
        seed.String(lm, Join({kClasses, ".vantrele2e-full"}), "", "VantrelE2E.EmptyDoc");
        // Settings of an extension nobody registers any more, and of one still registered.
        seed.String(HKEY_CURRENT_USER, Join({kFileExts, ".vantrele2e-gone", "OpenWithList"}), "a",
                    "vantrele2e.exe");
        seed.Key(HKEY_CURRENT_USER, Join({kFileExts, ".vantrele2e-full"}));
    }

    void SeedCustomControls() {
        const HKEY lm = HKEY_LOCAL_MACHINE;
        seed.String(lm, Join({kClsid, kServerClass}), "", "VantrelE2E Control");
        seed.String(lm, Join({kClsid, kServerClass, "InprocServer32"}), "",
                    In("vantrele2e-gone.dll"));
        seed.String(lm, Join({kClsid, kServerClass, "InprocServer32"}), "ThreadingModel",
                    "Apartment");
        seed.String(lm, Join({kClsid, kServerClass, "DefaultIcon"}), "",
                    In("vantrele2e-ok.dll") + ",0");
        seed.String(lm, Join({kClsid, kLocalServerClass, "LocalServer32"}), "",
                    Quoted(In("vantrele2e-ok.exe")) + " /automation");
        seed.String(lm, Join({kClsid, kLocalServerClass, "ToolboxBitmap32"}), "",
                    In("vantrele2e-gone.bmp"));
        // Only a file serves a class: a folder of the server's name does not.
        seed.String(lm, Join({kClsid, kFolderServerClass, "InprocServer32"}), "",
                    In("vantrele2e-folder"));
    }

    void SeedObsoleteSoftware() {
        const HKEY cu = HKEY_CURRENT_USER;
        seed.Key(cu, "Software\\VantrelE2EObsolete\\Settings");
        seed.Key(cu, "Software\\VantrelE2ETwoEmpty\\One");
        seed.Key(cu, "Software\\VantrelE2ETwoEmpty\\Two");
        seed.String(cu, "Software\\VantrelE2EZeroLength\\Deep", "Flag", "");
        seed.Key(HKEY_LOCAL_MACHINE, "Software\\VantrelE2EObsoleteLm");
    }

    void SeedServices() {
        const HKEY lm = HKEY_LOCAL_MACHINE;
        seed.String(lm, Join({kServices, "VantrelE2EGone"}), "ImagePath",
                    Quoted(In("vantrele2e-svc.exe")) + " -service");
        seed.ExpandString(lm, Join({kServices, "VantrelE2EExpand"}), "ImagePath",
                          "%SystemRoot%\\vantrele2e-svc.exe");
        seed.String(lm, Join({kServices, "VantrelE2EOk"}), "ImagePath",
                    In("vantrele2e-ok.exe") + " -service");
        seed.ExpandString(lm, Join({kServices, "VantrelE2EDriver"}), "ImagePath",
                          "system32\\drivers\\vantrele2e.sys");
        seed.String(lm, Join({kServices, "VantrelE2ENoImage"}), "DisplayName", "VantrelE2E");
    }

    void SeedStartMenu() {
        const std::string programs = SpecialFolder(CSIDL_PROGRAMS);
        const std::string commonPrograms = SpecialFolder(CSIDL_COMMON_PROGRAMS);
        ASSERT_FALSE(programs.empty());
        ASSERT_FALSE(commonPrograms.empty());
        seed.Folder(programs + "\\vantrele2e group");
        seed.Folder(programs + "\\vantrele2e group\\VantrelE2E Nested");
        seed.Folder(commonPrograms + "\\VantrelE2E Common");
        for (const char* group :
             {"VantrelE2E Group", "VantrelE2E Common", "VantrelE2E Nested", "VantrelE2E Gone"}) {
            seed.Key(HKEY_CURRENT_USER, Join({kMenuOrder, group}));
        }
    }

    // Real shortcut files in three of the folders the check reads; the user's Start Menu lies
    // inside Application Data and must be searched only once.
    void SeedShortcuts() {
        commonLinks = SpecialFolder(CSIDL_COMMON_STARTMENU) + "\\" + kLinksFolder;
        appDataLinks = SpecialFolder(CSIDL_APPDATA) + "\\" + kLinksFolder;
        startMenu = SpecialFolder(CSIDL_STARTMENU);
        ASSERT_FALSE(startMenu.empty());
        seed.Folder(commonLinks);
        seed.Folder(appDataLinks);
        seed.Folder(appDataLinks + "\\Deeper");
        seed.CreateFileAt(In("vantrele2e-removed.txt"));
        seed.Shortcut(commonLinks + "\\vantrele2e-gone.lnk", In("vantrele2e-removed.txt"));
        seed.Shortcut(commonLinks + "\\vantrele2e-file.lnk", In("vantrele2e-target.txt"));
        seed.Shortcut(appDataLinks + "\\vantrele2e-folder.lnk", In("vantrele2e-folder"));
        seed.Shortcut(appDataLinks + "\\Deeper\\VANTRELE2E-GONE.LNK", In("vantrele2e-removed.txt"));
        seed.Shortcut(appDataLinks + "\\vantrele2e-not.lnk.txt", In("vantrele2e-removed.txt"));
        seed.Shortcut(startMenu + "\\vantrele2e-menu.lnk", In("vantrele2e-removed.txt"));
        ASSERT_TRUE(DeleteFileA(In("vantrele2e-removed.txt").c_str()));
    }

    void SeedSounds() {
        const HKEY cu = HKEY_CURRENT_USER;
        const std::string beep = Join({kSchemeApps, "VantrelE2E", "VantrelE2EBeep"});
        seed.String(cu, Join({beep, ".Current"}), "", In("vantrele2e-gone.wav"));
        seed.String(cu, Join({beep, ".Default"}), "", In("vantrele2e-ok.wav"));
        seed.String(cu, Join({beep, ".None"}), "", In("vantrele2e-gone.wav"));
        seed.String(cu, Join({beep, "Utopia0"}), "", In("vantrele2e-gone.wav"));
        // A bare file name is looked up in the media folder by the system: never judged.
        seed.String(cu, Join({kSchemeApps, "VantrelE2E", "VantrelE2EDing", ".CURRENT"}), "",
                    "vantrele2e-ding.wav");
    }

    void SeedMruLists() {
        const HKEY cu = HKEY_CURRENT_USER;
        seed.String(cu, kOpenSaveMru, "VantrelE2EOwnGone", In("vantrele2e-lost"));
        seed.String(cu, kOpenSaveMru, "VantrelE2EOwnOk", In("vantrele2e-report"));
        seed.String(cu, kOpenSaveMru, "VantrelE2EUnc", "\\\\vantrele2e-server\\share\\x.txt");
        seed.String(cu, Join({kOpenSaveMru, "txt"}), "a", In("vantrele2e-gone.txt"));
        seed.String(cu, Join({kOpenSaveMru, "txt"}), "b", In("vantrele2e-ok.txt"));
        seed.String(cu, Join({kOpenSaveMru, "txt"}), "MRUList", "ba");
        seed.String(cu, Join({kOpenSaveMru, "*"}), "a", In("vantrele2e-gone.txt"));
    }

    void SeedInstaller() {
        const HKEY lm = HKEY_LOCAL_MACHINE;
        const std::string app = Join({kUninstall, "VantrelE2EApp"});
        seed.String(lm, app, "UninstallString", Quoted(In("vantrele2e-unins.exe")) + " /x");
        seed.String(lm, app, "DisplayIcon", In("vantrele2e-ok.exe") + ",0");
        seed.String(lm, app, "DisplayVersion", "1.0");
        seed.String(lm, app, "ModifyPath", "msiexec /i " + In("vantrele2e-gone.msi"));
        seed.String(lm, kInstallerFolders, In("vantrele2e-gone-folder") + "\\", "");
        seed.String(lm, kInstallerFolders, In("vantrele2e-folder") + "\\", "");
        seed.Key(lm, Join({kArpCache, "VantrelE2EGoneCache"}));
        seed.Key(lm, Join({kArpCache, "VANTRELE2EAPP"}));
    }

    void SeedApplications() {
        const HKEY lm = HKEY_LOCAL_MACHINE;
        const std::string gone = Join({kApplications, "vantrele2e-gone.exe", "shell"});
        seed.String(lm, Join({gone, "open", "command"}), "",
                    Quoted(In("vantrele2e-gone.exe")) + " \"%1\"");
        seed.String(lm, Join({gone, "edit", "command"}), "",
                    Quoted(In("vantrele2e-gone.exe")) + " /edit \"%1\"");
        seed.String(lm, Join({kApplications, "vantrele2e-ok.exe", "shell", "open", "command"}), "",
                    Quoted(In("vantrele2e-ok.exe")) + " \"%1\"");
        // Names another program: not this registration's file, so not judged.
        seed.String(lm, Join({kApplications, "vantrele2e-other.exe", "shell", "open", "command"}),
                    "", "C:\\windows\\notepad.exe %1");
    }

    // A 32-bit program's registrations under Wow6432Node, naming files as it sees them: its
    // "C:\windows\system32" is C:\windows\syswow64, where its files are.
    void SeedThirtyTwoBitPrograms() {
        const HKEY lm = HKEY_LOCAL_MACHINE;
        const std::string wow64Folder = SystemWow64Folder();
        ASSERT_FALSE(wow64Folder.empty()) << "a 64-bit prefix has a 32-bit system folder";
        seed.CreateFileAt(wow64Folder + "\\vantrele2e-wow.dll");
        seed.CreateFileAt(wow64Folder + "\\vantrele2e-wow.exe");
        seed.String(lm, kVendor32, "Library", "C:\\windows\\system32\\vantrele2e-wow.dll");
        seed.String(lm, kVendor32, "Gone", "C:\\windows\\system32\\vantrele2e-gone32.dll");
        const std::string app = Join({kUninstall32, "VantrelE2E32App"});
        seed.String(lm, app, "UninstallString", Quoted(In("vantrele2e-unins32.exe")) + " /x");
        seed.String(lm, app, "DisplayIcon", "C:\\windows\\system32\\vantrele2e-wow.exe,0");
        seed.Key(lm, Join({kUninstall32, "VantrelE2E32Empty"}));
        seed.String(lm, kRun32, "VantrelE2E32Agent", In("agent32.exe"));
        seed.String(lm, kRun32, "VantrelE2E32Tray",
                    "C:\\windows\\system32\\vantrele2e-wow.exe /tray");
        // Another user's hive (here the default user's): walked by Files and Folders -
        // HKEY_USERS, unlike the current user's own.
        seed.String(HKEY_USERS, ".Default\\Software\\VantrelE2E", "Wallpaper", In("wall.bmp"));
    }

    static std::string SystemWow64Folder() {
        char folder[MAX_PATH] = {};
        const UINT length = GetSystemWow64DirectoryA(folder, MAX_PATH);
        return length == 0 || length >= MAX_PATH ? "" : folder;
    }

    // The rows of our own seeded entries; Wine's prefix has stale entries of its own.
    std::vector<ScanIssue> Scan(const std::vector<std::string>& checks) {
        Win32Registry registry;
        Win32FileSystem files;
        RecordingSink sink;
        TScanTaskThread task(registry, files, CurrentWindowsVersion(), sink);
        task.CheckList() = checks;
        task.Execute();
        EXPECT_EQ(sink.Events().back(), "finished");
        std::vector<ScanIssue> ours;
        for (const auto& issue : sink.Issues()) {
            if (FindIgnoreCase(issue.keyText + "|" + issue.valueText, kMarker) !=
                std::string::npos) {
                ours.push_back(issue);
            }
        }
        return ours;
    }

    ComInitializer com{COINIT_APARTMENTTHREADED};
    test::RegistrySeed seed;
    std::string commonLinks;
    std::string appDataLinks;
    std::string startMenu;
};

// 3, 4 and 5: the missing-file walks of whole hives, each key once.
std::vector<ScanIssue> FilesAndFoldersRows() {
    const std::string lm = "HKEY_LOCAL_MACHINE\\";
    const auto walked = [](int check, std::string key, std::string value) {
        return Row(check, std::move(key), std::move(value), RepairKind::DeleteValueInKey);
    };
    return {
        // 3: HKEY_LOCAL_MACHINE\Software less its skipped subtrees and their 32-bit twins (the
        // Run key is skipped, the configuration tool's list is not). Wine links the 32-bit
        // view's type libraries and application paths to the native ones: the walk does not
        // pass through the links, so the stale type library and application path are not
        // listed again. A 32-bit program's value is judged as that program sees the files.
        walked(3, lm + Join({kStartupReg, "VantrelE2EOld", "command"}), In("old.exe")),
        walked(3, lm + "Software\\VantrelE2E\\Paths\\Missing", In("missing\\app.exe")),
        walked(3, lm + std::string(kVendor32) + "\\Gone",
               "C:\\windows\\system32\\vantrele2e-gone32.dll"),
        // 4: the current user's hive less its run keys, sound schemes and dialog history.
        walked(4, "HKEY_CURRENT_USER\\Software\\VantrelE2E\\Recent", In("gone.txt")),
        // 5: the other users' hives; the current user's is HKEY_CURRENT_USER, walked by 4.
        walked(5, "HKEY_USERS\\.Default\\Software\\VantrelE2E\\Wallpaper", In("wall.bmp")),
    };
}

std::vector<ScanIssue> StartMenuRows() {
    const std::string key = std::string("HKEY_CURRENT_USER\\") + kMenuOrder;
    return {
        Row(16, key, "VantrelE2E Gone", RepairKind::DeleteSubkey),
        // Only top-level groups count: this one exists two levels deep.
        Row(16, key, "VantrelE2E Nested", RepairKind::DeleteSubkey),
    };
}

std::vector<ScanIssue> ObsoleteSoftwareRows() {
    return {
        Row(14, "HKEY_CURRENT_USER\\Software", "VantrelE2EObsolete", RepairKind::DeleteSubkey),
        Row(14, "HKEY_LOCAL_MACHINE\\Software", "VantrelE2EObsoleteLm", RepairKind::DeleteSubkey),
    };
}

std::vector<ScanIssue> FileExtensionRows() {
    const std::string classes = std::string("HKEY_LOCAL_MACHINE\\") + kClasses;
    return {
        Row(12, classes, ".vantrele2e-empty", RepairKind::DeleteSubkey),
        Row(12, classes, "VantrelE2E.EmptyDoc", RepairKind::DeleteSubkey),
        Row(12, std::string("HKEY_CURRENT_USER\\") + kFileExts, ".vantrele2e-gone",
            RepairKind::DeleteSubkey),
    };
}

std::vector<ScanIssue> ActiveXRows() {
    return {
        Row(19, "HKEY_CLASSES_ROOT\\" + Join({"TypeLib", kStaleTypeLib, "1.0\\0\\win32"}) + "\\",
            In("vantrele2e-gone.DLL") + ", 1", RepairKind::DeleteValueInKey),
    };
}

std::vector<ScanIssue> ApplicationRows() {
    const std::string shell =
        "HKEY_LOCAL_MACHINE\\" + Join({kApplications, "vantrele2e-gone.exe", "shell"});
    return {
        Row(22, shell + "\\edit\\command", Quoted(In("vantrele2e-gone.exe")) + " /edit \"%1\"",
            RepairKind::DeleteDefaultValue),
        Row(22, shell + "\\open\\command", Quoted(In("vantrele2e-gone.exe")) + " \"%1\"",
            RepairKind::DeleteDefaultValue),
    };
}

// 11, 9, 8, 6 and 7, in the order the scan runs them.
std::vector<ScanIssue> SoftwareAndSystemRows() {
    const std::string lm = "HKEY_LOCAL_MACHINE\\";
    return {
        Row(11, lm + kUninstall, "VantrelE2EEmpty", RepairKind::DeleteSubkey),
        Row(11, lm + kUninstall32, "VantrelE2E32Empty", RepairKind::DeleteSubkey),
        Row(9, lm + kSharedDlls, In("vantrele2e-gone-shared.dll"), RepairKind::DeleteNamedValue),
        Row(9, lm + kSharedDlls, In("vantrele2e-zero.dll"), RepairKind::DeleteNamedValue),
        Row(8, lm + Join({kHelp, "vantrele2e.hlp"}), In("vantrele2e.hlp"),
            RepairKind::DeleteValueInKey),
        Row(6, lm + Join({kAppPaths, "vantrele2e-gone.exe"}), In("vantrele2e-gone.exe"),
            RepairKind::DeleteKey),
        Row(7, lm + Join({kFonts, "VantrelE2E Sans (TrueType)"}), "vantrele2e-sans.ttf",
            RepairKind::DeleteValueInKey),
    };
}

std::vector<ScanIssue> SoundRows() {
    const std::string beep =
        "HKEY_CURRENT_USER\\" + Join({kSchemeApps, "VantrelE2E", "VantrelE2EBeep"});
    return {
        Row(18, beep + "\\.Current", In("vantrele2e-gone.wav"), RepairKind::DeleteDefaultValue),
        Row(18, beep + "\\Utopia0", In("vantrele2e-gone.wav"), RepairKind::DeleteDefaultValue),
    };
}

std::vector<ScanIssue> StartupRows() {
    return {
        Row(10, "HKEY_CURRENT_USER\\" + Join({kRun, "VantrelE2EAgent"}),
            Quoted(In("agent.exe")) + " /min", RepairKind::DeleteValueInKey),
        Row(10, "HKEY_LOCAL_MACHINE\\" + Join({kRun32, "VantrelE2E32Agent"}), In("agent32.exe"),
            RepairKind::DeleteValueInKey),
        Row(10, "HKEY_LOCAL_MACHINE\\" + Join({kStartupReg, "VantrelE2EOld"}), In("old.exe"),
            RepairKind::DeleteKey),
    };
}

std::vector<ScanIssue> CustomControlRows() {
    const std::string clsid = "HKEY_CLASSES_ROOT\\CLSID\\";
    return {
        Row(13, clsid + kServerClass + "\\InprocServer32", In("vantrele2e-gone.dll"),
            RepairKind::DeleteKey),
        Row(13, clsid + kLocalServerClass + "\\ToolboxBitmap32", In("vantrele2e-gone.bmp"),
            RepairKind::DeleteKey),
        Row(13, clsid + kFolderServerClass + "\\InprocServer32", In("vantrele2e-folder"),
            RepairKind::DeleteKey),
    };
}

std::vector<ScanIssue> ServiceRows() {
    const std::string services = std::string("HKEY_LOCAL_MACHINE\\") + kServices;
    return {
        Row(15, services + "\\VantrelE2EExpand\\ImagePath", "%SystemRoot%\\vantrele2e-svc.exe",
            RepairKind::DeleteValueInKey),
        Row(15, services + "\\VantrelE2EGone\\ImagePath",
            Quoted(In("vantrele2e-svc.exe")) + " -service", RepairKind::DeleteValueInKey),
    };
}

std::vector<ScanIssue> MruRows() {
    const std::string mru = std::string("HKEY_CURRENT_USER\\") + kOpenSaveMru;
    const auto row = [](std::string key, std::string value) {
        return Row(20, std::move(key), std::move(value), RepairKind::DeleteValueInKey);
    };
    return {
        row(mru + "\\VantrelE2EOwnGone", In("vantrele2e-lost")),
        row(mru + "\\*\\a", In("vantrele2e-gone.txt")),
        row(mru + "\\txt\\a", In("vantrele2e-gone.txt")),
    };
}

std::vector<ScanIssue> InstallerRows() {
    return {
        Row(21,
            "HKEY_LOCAL_MACHINE\\" +
                Join({"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall", "VantrelE2EApp",
                      "UninstallString"}),
            Quoted(In("vantrele2e-unins.exe")) + " /x", RepairKind::DeleteValueInKey),
        // The 32-bit view's uninstall entries, named by their real key.
        Row(21,
            "HKEY_LOCAL_MACHINE\\" +
                Join({"SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
                      "VantrelE2E32App", "UninstallString"}),
            Quoted(In("vantrele2e-unins32.exe")) + " /x", RepairKind::DeleteValueInKey),
        Row(21, std::string("HKEY_LOCAL_MACHINE\\") + kInstallerFolders,
            In("vantrele2e-gone-folder") + "\\", RepairKind::DeleteNamedValue),
        Row(21, std::string("HKEY_LOCAL_MACHINE\\") + kArpCache, "VantrelE2EGoneCache",
            RepairKind::DeleteSubkey),
    };
}

TEST_F(ScanEndToEnd, EveryCheckFindsItsStaleEntriesAndNoHealthyOne) {
    const WindowsVersion version = CurrentWindowsVersion();
    ASSERT_TRUE(version == WindowsVersion::WindowsXp || version == WindowsVersion::Nt52OrLater)
        << "the start menu order key is chosen by it";
    const auto shortcut = [](const std::string& link) {
        return Row(17, link, In("vantrele2e-removed.txt"), RepairKind::DeleteNamedFile);
    };

    std::vector<ScanIssue> expected = FilesAndFoldersRows();
    Append(expected, StartMenuRows());
    Append(expected, ObsoleteSoftwareRows());
    Append(expected, FileExtensionRows());
    Append(expected, ActiveXRows());
    Append(expected, ApplicationRows());
    Append(expected, SoftwareAndSystemRows());
    Append(expected, SoundRows());
    Append(expected, StartupRows());
    Append(expected, CustomControlRows());
    Append(expected, ServiceRows());
    // 17: the all users' Start Menu first, then Application Data with the user's Start Menu
    // inside it, which is not searched a second time.
    Append(expected, {
                         shortcut(commonLinks + "\\vantrele2e-gone.lnk"),
                         shortcut(startMenu + "\\vantrele2e-menu.lnk"),
                         shortcut(appDataLinks + "\\Deeper\\VANTRELE2E-GONE.LNK"),
                     });
    Append(expected, MruRows());
    Append(expected, InstallerRows());

    EXPECT_EQ(Lines(Scan(CatalogueOrder())), Lines(expected));
}

// A folder link that leads back up, as the "Application Data" junction of a profile does: the
// shortcut search lists what lies inside the profile once, and never passes through the link.
TEST(ShortcutScanEndToEnd, ALinkBackUpInsideAShellFolderIsNotFollowed) {
    const ComInitializer com{COINIT_APARTMENTTHREADED};
    ASSERT_TRUE(com.Succeeded());
    const std::string folder = SpecialFolder(CSIDL_APPDATA) + "\\VantrelLoopE2E";
    const std::string target = std::string(kFolder) + "-loop-removed.txt";
    test::RegistrySeed seed;
    seed.Folder(folder);
    seed.CreateFileAt(target);
    seed.Shortcut(folder + "\\vantrelloop-gone.lnk", target);
    ASSERT_TRUE(DeleteFileA(target.c_str()));
    const std::wstring link(folder.begin(), folder.end());
    const test::UnixSymlink loop(link + L"\\Back", "..");
    ASSERT_TRUE(loop.Created()) << "Wine lists a host symbolic link as a reparse point";

    Win32Registry registry;
    Win32FileSystem files;
    RecordingSink sink;
    TScanTaskThread task(registry, files, CurrentWindowsVersion(), sink);
    task.CheckList() = {"17"};
    task.Execute();
    std::vector<ScanIssue> ours;
    for (const ScanIssue& issue : sink.Issues()) {
        if (FindIgnoreCase(issue.keyText, "vantrelloop") != std::string::npos)
            ours.push_back(issue);
    }
    EXPECT_EQ(
        Lines(ours),
        Lines({Row(17, folder + "\\vantrelloop-gone.lnk", target, RepairKind::DeleteNamedFile)}));
}

// Asks the task to stop as soon as the first row arrives.
class StopAtFirstRow : public RecordingSink {
  public:
    void AddScanIssue(const ScanIssue& issue) override {
        RecordingSink::AddScanIssue(issue);
        task->RequestStop();
    }
    TScanTaskThread* task = nullptr;
};

// Its names do not carry the end-to-end marker: CTest may run it beside the test above.
TEST(ScanStop, StopDuringALargeWalkEndsPromptlyWithNoRowAfterIt) {
    test::RegistrySeed seed;
    for (int key = 0; key < 400; ++key) {
        const std::string path = "Software\\VantrelStopTest\\Key" + std::to_string(key);
        for (int value = 0; value < 5; ++value) {
            seed.String(HKEY_CURRENT_USER, path, "v" + std::to_string(value),
                        "C:\\vantrel-stop-test\\" + std::to_string(key) + "\\gone.exe");
        }
    }
    Win32Registry registry;
    Win32FileSystem files;
    StopAtFirstRow sink;
    TScanTaskThread task(registry, files, CurrentWindowsVersion(), sink);
    sink.task = &task;
    task.CheckList() = {"4", "4"};
    const auto start = std::chrono::steady_clock::now();
    task.Start();
    task.Wait();
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(sink.Issues().size(), 1u);
    EXPECT_EQ(sink.Events().back().rfind("row ", 0), 0u);
    // Liveness only: a whole walk of the seeded tree takes far longer than this.
    EXPECT_LT(elapsed, std::chrono::seconds(20));
}

}  // namespace
}  // namespace vantrel
