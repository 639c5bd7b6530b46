// A whole scan of a 64-bit Windows 11 user's registry and files, as the memory stand-ins model
// them: links between keys (the current control set, the default user's two names, the keys the
// two views share), the current user's hive under HKEY_USERS with its classes hive beside it,
// another user's hive, 32-bit registrations under Wow6432Node that name files as 32-bit
// programs see them, the containers Windows creates left empty, and keys and values a careful
// scan passes over.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/TextCase.h"
#include "tests/core/CheckTestFixture.h"

namespace vantrel {
namespace {

using checktest::CheckFixture;
using checktest::ProblemOf;
using checktest::Row;

constexpr RootKey kMachine = RootKey::LocalMachine;
constexpr RootKey kUsers = RootKey::Users;
constexpr const char* kOtherUser = "S-1-5-21-1004336348-1177238915-682003330-1002";
constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

constexpr const char* kRegistry = R"reg(
[HKEY_LOCAL_MACHINE\Software\Vendor]
"Log"="C:\\Missing\\vendor.log"
[HKEY_LOCAL_MACHINE\Software\Clients\Mail\Old]
"DLLPath"="C:\\Missing\\mail.dll"
[HKEY_LOCAL_MACHINE\Software\Wow6432Node\Vendor32]
"Dll"="C:\\Windows\\System32\\vendor32.dll"
"Tool"="%ProgramFiles%\\Vendor32\\tool.exe"
"Gone"="%ProgramFiles%\\Vendor32\\gone.exe"
"Native"="C:\\Windows\\System32\\native-only.dll"
[HKEY_LOCAL_MACHINE\Software\Classes\TypeLib\{7}\1.0\0\win32]
@="C:\\Missing\\typelib.dll"
[HKEY_LOCAL_MACHINE\Software\Classes\Wow6432Node\Applications\old32.exe\shell\open\command]
@="\"C:\\Program Files (x86)\\Old32\\old32.exe\" \"%1\""

[HKEY_LOCAL_MACHINE\Software\Policies]
[HKEY_LOCAL_MACHINE\Software\Registered Applications]
[HKEY_LOCAL_MACHINE\Software\Leftover]
[HKEY_LOCAL_MACHINE\Software\QuietVendor]
"Setting"="kept"
[HKEY_CURRENT_USER\Software\Policies]

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\App Paths\gone.exe]
@="C:\\Missing\\gone.exe"
[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\Fonts]
"Arial (TrueType)"="arial.ttf"
"Gone (TrueType)"="gone.ttf"
"Lossy (TrueType)"="?ong.ttf"
[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\Help]
"?nexact.hlp"="C:\\Missing"
"zero.hlp"=hex:
"gone.hlp"="C:\\Missing"

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\SharedDlls]
"C:\\Missing\\shared.dll"=dword:00000001
"C:\\Lib\\bad.dll"=hex(4):01,00,00
[HKEY_LOCAL_MACHINE\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\SharedDlls]
"C:\\Windows\\System32\\shared32.dll"=dword:00000001
"C:\\Missing\\shared32.dll"=dword:00000001

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Run]
"Agent"="C:\\Missing\\agent.exe"
[HKEY_LOCAL_MACHINE\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\Run]
"Agent32"="C:\\Missing\\agent32.exe"
"Helper32"="C:\\Windows\\System32\\helper32.exe /tray"
[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run]
"UserAgent"="C:\\Missing\\user-agent.exe"

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\App]
"DisplayName"="App"
"UninstallString"="C:\\Program Files\\App\\unins.exe"
[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\Hidden\Inner]
"DisplayName"="Hidden"
[HKEY_LOCAL_MACHINE\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\Uninstall\Old32]
"UninstallString"="\"C:\\Program Files (x86)\\Old32\\unins000.exe\" /x"
[HKEY_LOCAL_MACHINE\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\Uninstall\Empty32]
[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\App Management\ARPCache\Gone]
[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\App Management\ARPCache\Old32]

[HKEY_LOCAL_MACHINE\SYSTEM\ControlSet001\Services\GoneSvc]
"ImagePath"="C:\\Missing\\svc.exe"

[HKEY_CURRENT_USER\Software\Vendor]
"Recent"="C:\\Missing\\recent.txt"
[HKEY_USERS\.DEFAULT\Software\Vendor]
"Wall"="C:\\Missing\\wall.bmp"
)reg";

class SixtyFourBitWindows : public ::testing::Test {
  protected:
    SixtyFourBitWindows() {
        fixture_.Load(kRegistry);
        AddLinks();
        AddUserHives();
        AddFaults();
        AddFiles();
    }

    // Windows' own links: the current control set, the local system's name for the default
    // user, the user's classes, and the keys the 32-bit view shares with the native one.
    void AddLinks() {
        MemoryRegistry& registry = fixture_.registry;
        registry.AddLink(kMachine, "SYSTEM\\CurrentControlSet", kMachine, "SYSTEM\\ControlSet001");
        registry.AddLink(kUsers, "S-1-5-18", kUsers, ".DEFAULT");
        registry.AddLink(RootKey::CurrentUser, "Software\\Classes", kUsers, OwnClassesHive());
        registry.AddLink(kMachine, "Software\\Wow6432Node\\Classes", kMachine,
                         "Software\\Classes\\Wow6432Node");
        registry.AddLink(kMachine, "Software\\Classes\\Wow6432Node\\TypeLib", kMachine,
                         "Software\\Classes\\TypeLib");
        for (const char* shared :
             {"Clients", "Policies", "Microsoft\\Windows\\CurrentVersion\\App Paths",
              "Microsoft\\Windows NT\\CurrentVersion\\Fonts"}) {
            registry.AddLink(kMachine, std::string("Software\\Wow6432Node\\") + shared, kMachine,
                             std::string("Software\\") + shared);
        }
    }

    static std::string OwnClassesHive() {
        return std::string(MemoryRegistry::kDefaultUserSid) + "_Classes";
    }

    void AddUserHives() {
        MemoryRegistry& registry = fixture_.registry;
        registry.SetString(kUsers, OwnClassesHive() + "\\.stale", "", "C:\\Missing\\stale.exe");
        const std::string other = kOtherUser;
        registry.SetString(kUsers, other + "\\Software\\Vendor", "Doc", "C:\\Missing\\doc.txt");
        registry.SetString(kUsers, other + "\\" + kRunKey, "A", "C:\\Missing\\a.exe");
    }

    // What the scan cannot read, and values whose data or name do not fit.
    void AddFaults() {
        MemoryRegistry& registry = fixture_.registry;
        registry.RefuseNotify(kMachine, "Software\\QuietVendor");
        registry.RefuseNotify(
            kMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Hidden\\Inner");
        registry.MarkInexactName(kMachine, "Software\\Microsoft\\Windows\\Help",
                                 std::string("?nexact.hlp"));
    }

    void AddFiles() {
        MemoryFileSystem& files = fixture_.files;
        files.AddFile("C:\\Windows\\System32\\native-only.dll");
        for (const char* file : {"vendor32.dll", "helper32.exe", "shared32.dll"})
            files.AddFile(std::string("C:\\Windows\\SysWOW64\\") + file);
        files.AddFile("C:\\Program Files\\App\\unins.exe");
        files.AddFile("C:\\Program Files (x86)\\Vendor32\\tool.exe");
        files.AddFile("C:\\Windows\\Fonts\\arial.ttf");
        files.SetSpecialFolder(specialfolder::kFonts, "C:\\Windows\\Fonts");
        files.SetSystemFolders("C:\\Windows\\System32", "C:\\Windows\\SysWOW64");
        files.SetEnvironment("ProgramFiles", "C:\\Program Files");
        files.SetEnvironment("ProgramFiles(x86)", "C:\\Program Files (x86)");
        files.SetEnvironment("ProgramW6432", "C:\\Program Files");
    }

    // Every category, in the order of the tree.
    std::vector<Row> ScanEverything() {
        for (const std::string& id : CheckIdsInTreeOrder())
            fixture_.Run(*ParseCheckId(id));
        return fixture_.Rows();
    }

    CheckFixture fixture_;
};

Row Walked(const std::string& key, const std::string& value) {
    return Row{ProblemOf(checktest::kFilesAndFoldersLocalMachine), key, value,
               RepairKind::DeleteValueInKey};
}

TEST_F(SixtyFourBitWindows, AScanOfEveryCategoryListsEachStaleEntryOnceAndNothingElse) {
    const std::string lm = "HKEY_LOCAL_MACHINE\\";
    const std::string version = "Microsoft\\Windows\\CurrentVersion\\";
    const std::vector<Row> expected = {
        Walked(lm + "Software\\Clients\\Mail\\Old\\DLLPath", "C:\\Missing\\mail.dll"),
        Walked(lm + "Software\\Vendor\\Log", "C:\\Missing\\vendor.log"),
        Walked(lm + "Software\\Wow6432Node\\Vendor32\\Gone", "%ProgramFiles%\\Vendor32\\gone.exe"),
        Walked("HKEY_CURRENT_USER\\Software\\Vendor\\Recent", "C:\\Missing\\recent.txt"),
        Walked("HKEY_USERS\\.DEFAULT\\Software\\Vendor\\Wall", "C:\\Missing\\wall.bmp"),
        Walked("HKEY_USERS\\" + std::string(kOtherUser) + "\\Software\\Vendor\\Doc",
               "C:\\Missing\\doc.txt"),
        {ProblemOf(checktest::kObsoleteSoftware), lm + "Software", "Leftover",
         RepairKind::DeleteSubkey},
        {ProblemOf(checktest::kApplications),
         lm + "Software\\Classes\\Wow6432Node\\Applications\\old32.exe\\shell\\open\\command",
         "\"C:\\Program Files (x86)\\Old32\\old32.exe\" \"%1\"", RepairKind::DeleteDefaultValue},
        {ProblemOf(checktest::kAddRemovePrograms),
         lm + "Software\\Wow6432Node\\" + version + "Uninstall", "Empty32",
         RepairKind::DeleteSubkey},
        {ProblemOf(checktest::kSharedDlls), lm + "Software\\" + version + "SharedDlls",
         "C:\\Missing\\shared.dll", RepairKind::DeleteNamedValue},
        {ProblemOf(checktest::kSharedDlls), lm + "Software\\Wow6432Node\\" + version + "SharedDlls",
         "C:\\Missing\\shared32.dll", RepairKind::DeleteNamedValue},
        {ProblemOf(checktest::kHelpFilePaths), lm + "Software\\Microsoft\\Windows\\Help\\gone.hlp",
         "C:\\Missing\\gone.hlp", RepairKind::DeleteValueInKey},
        {ProblemOf(checktest::kSoftwareLocations),
         lm + "Software\\" + version + "App Paths\\gone.exe", "C:\\Missing\\gone.exe",
         RepairKind::DeleteKey},
        {ProblemOf(checktest::kWindowsFonts),
         lm + "Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts\\Gone (TrueType)", "gone.ttf",
         RepairKind::DeleteValueInKey},
        {ProblemOf(checktest::kStartupPrograms),
         "HKEY_CURRENT_USER\\Software\\" + version + "Run\\UserAgent",
         "C:\\Missing\\user-agent.exe", RepairKind::DeleteValueInKey},
        {ProblemOf(checktest::kStartupPrograms), lm + "Software\\" + version + "Run\\Agent",
         "C:\\Missing\\agent.exe", RepairKind::DeleteValueInKey},
        {ProblemOf(checktest::kStartupPrograms),
         lm + "Software\\Wow6432Node\\" + version + "Run\\Agent32", "C:\\Missing\\agent32.exe",
         RepairKind::DeleteValueInKey},
        {ProblemOf(checktest::kWindowsServices),
         lm + "SYSTEM\\CurrentControlSet\\Services\\GoneSvc\\ImagePath", "C:\\Missing\\svc.exe",
         RepairKind::DeleteValueInKey},
        {ProblemOf(checktest::kInstaller),
         lm + "SOFTWARE\\Wow6432Node\\" + version + "Uninstall\\Old32\\UninstallString",
         "\"C:\\Program Files (x86)\\Old32\\unins000.exe\" /x", RepairKind::DeleteValueInKey},
        {ProblemOf(checktest::kInstaller), lm + "SOFTWARE\\" + version + "App Management\\ARPCache",
         "Gone", RepairKind::DeleteSubkey},
    };
    EXPECT_EQ(ScanEverything(), expected);
}

// Each physical key once: no row reaches a key through a link, nor the current user's hive
// through its name under HKEY_USERS.
TEST_F(SixtyFourBitWindows, NoRowNamesAKeyThroughALinkOrTheUsersOwnSid) {
    const std::vector<std::string> throughLinks = {
        "S-1-5-18",
        std::string(MemoryRegistry::kDefaultUserSid),
        "Software\\Wow6432Node\\Classes",
        "Classes\\Wow6432Node\\TypeLib",
        "Wow6432Node\\Clients",
        "Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\App Paths",
        "Wow6432Node\\Microsoft\\Windows NT",
    };
    for (const Row& row : ScanEverything()) {
        for (const std::string& link : throughLinks)
            EXPECT_EQ(FindIgnoreCase(row.key, link), std::string::npos) << row;
    }
}

}  // namespace
}  // namespace vantrel
