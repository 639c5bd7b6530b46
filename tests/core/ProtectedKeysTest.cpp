// The keys a scan never reports and repair never deletes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "platform/TextCase.h"
#include "scan/CheckedLists.h"
#include "scan/ProtectedKeys.h"

namespace vantrel {
namespace {

struct ProtectedCase {
    const char* name;
    RootKey root;
    const char* keyPath;
    bool isProtected;
};

constexpr RootKey kMachine = RootKey::LocalMachine;
constexpr RootKey kUser = RootKey::CurrentUser;
constexpr RootKey kUsers = RootKey::Users;
constexpr RootKey kClasses = RootKey::ClassesRoot;

const ProtectedCase kCases[] = {
    // Hive roots and the keys Windows makes at their top.
    {"the machine root", kMachine, "", true},
    {"a machine hive", kMachine, "SOFTWARE", true},
    {"a machine hive, trailing backslash", kMachine, "System\\", true},
    {"the user root", kUser, "", true},
    {"a user hive's top key", kUser, "AppEvents", true},
    {"the users root", kUsers, "", true},
    {"a loaded user hive", kUsers, "S-1-5-21-1-2-3-1001", true},
    {"the default user's hive", kUsers, ".DEFAULT", true},
    {"a user hive's top key under HKEY_USERS", kUsers, "S-1-5-21-1-2-3-1001\\Software", true},
    {"the classes root", kClasses, "", true},
    {"the current configuration", RootKey::CurrentConfig, "", true},
    // Containers Windows creates under Software, in every hive and in the 32-bit view.
    {"policies", kMachine, "Software\\Policies", true},
    {"registered applications", kMachine, "software\\Registered Applications", true},
    {"registered applications, other spelling", kUser, "Software\\RegisteredApplications", true},
    {"the 32-bit view's Software", kMachine, "Software\\Wow6432Node", true},
    {"its policies", kMachine, "Software\\Wow6432Node\\Policies", true},
    {"clients", kUser, "Software\\Clients", true},
    {"ODBC of another user", kUsers, "S-1-5-21-1-2-3-1001\\Software\\ODBC", true},
    {"the 32-bit classes", kMachine, "Software\\Classes\\Wow6432Node", true},
    // The lists the checks read, in both views and under every name they have.
    {"run", kMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", true},
    {"run, 32-bit", kMachine, "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run",
     true},
    {"uninstall with a doubled backslash", kMachine,
     "Software\\Microsoft\\Windows\\\\CurrentVersion\\Uninstall", true},
    {"the user's open and save history", kUser,
     "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU", true},
    {"class ids", kMachine, "Software\\Classes\\CLSID", true},
    {"class ids, 32-bit", kMachine, "Software\\Classes\\Wow6432Node\\CLSID", true},
    {"class ids, 32-bit through its link's path", kMachine, "Software\\Wow6432Node\\Classes\\CLSID",
     true},
    {"class ids as the classes root names them", kClasses, "CLSID", true},
    {"type libraries of the 32-bit classes root", kClasses, "Wow6432Node\\TypeLib", true},
    {"a user's classes hive", kUsers, "S-1-5-21-1-2-3-1001_Classes\\Applications", true},
    {"sound schemes", kUser, "AppEvents\\Schemes\\Apps", true},
    {"services", kMachine, "SYSTEM\\CurrentControlSet\\Services", true},
    {"services of a numbered control set", kMachine, "SYSTEM\\ControlSet001\\Services", true},
    {"a control set", kMachine, "SYSTEM\\ControlSet001", true},
    // What the checks report: the entries of the lists and the vendors' own keys.
    {"a vendor's key", kMachine, "Software\\Old Vendor", false},
    {"a vendor's key, 32-bit", kMachine, "Software\\Wow6432Node\\Old Vendor", false},
    {"a user's vendor key", kUser, "Software\\Old Vendor", false},
    {"an uninstall entry", kMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\X",
     false},
    {"an application path", kMachine,
     "Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\App Paths\\x.exe", false},
    {"a class", kMachine, "Software\\Classes\\.old", false},
    {"a class id", kClasses, "CLSID\\{1}\\InprocServer32", false},
    {"a service", kMachine, "SYSTEM\\CurrentControlSet\\Services\\Old", false},
    {"a start menu group", kUser,
     "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Start Menu2\\Programs\\"
     "Old",
     false},
    {"a key of no root", RootKey::None, "", false},
};

TEST(ProtectedKeys, Cases) {
    for (const ProtectedCase& row : kCases)
        EXPECT_EQ(IsProtectedKey(row.root, row.keyPath), row.isProtected) << row.name;
}

TEST(ProtectedKeys, OnlyRowsThatDeleteAKeyAreProtected) {
    const std::string run = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    EXPECT_TRUE(IsProtectedRow(
        {"P", "HKEY_LOCAL_MACHINE\\Software", "Policies", RepairKind::DeleteSubkey}));
    EXPECT_TRUE(IsProtectedRow({"P", run, "", RepairKind::DeleteKey}));
    EXPECT_FALSE(IsProtectedRow({"P", run + "\\Tool", "C:\\x.exe", RepairKind::DeleteValueInKey}));
    EXPECT_FALSE(IsProtectedRow({"P", run, "Tool", RepairKind::DeleteNamedValue}));
    EXPECT_FALSE(IsProtectedRow({"P", run, "x", RepairKind::DeleteDefaultValue}));
    EXPECT_FALSE(IsProtectedRow({"P", "C:\\Users\\u\\x.lnk", "", RepairKind::DeleteNamedFile}));
}

std::set<std::string> Folded(const std::vector<std::string>& paths) {
    std::set<std::string> folded;
    for (const std::string& path : paths)
        folded.insert(UpperAscii(path));
    return folded;
}

// The skip lists and protected lists as they were written by hand before the check table named
// its lists: deriving them must change none of them.
TEST(CheckedLists, DerivedListsAreTheHandWrittenOnes) {
    const std::string cv = "Software\\Microsoft\\Windows\\CurrentVersion\\";
    const std::string menuOrder = cv + "Explorer\\MenuOrder\\";
    const struct {
        const char* name;
        std::vector<std::string> derived;
        std::vector<std::string> expected;
    } kLists[] = {
        {"machine skip list",
         ListsWalkedAlone(RootKey::LocalMachine),
         {"SOFTWARE\\Classes\\CLSID", cv + "SharedDlls", "SOFTWARE\\Classes\\TypeLib",
          cv + "App Paths", "Software\\Microsoft\\Windows\\Help",
          "Software\\Microsoft\\Windows\\Html Help", "Software\\Classes\\Applications", cv + "Run",
          cv + "RunOnce", cv + "Uninstall", cv + "Installer\\Folders",
          cv + "App Management\\ARPCache"}},
        {"user skip list",
         ListsWalkedAlone(RootKey::CurrentUser),
         {cv + "Run", cv + "RunOnce", "AppEvents\\Schemes\\Apps",
          cv + "Explorer\\ComDlg32\\OpenSaveMRU"}},
        {"containers in Software",
         ContainerListsInSoftware(),
         {cv + "App Paths", cv + "Uninstall", cv + "Run", cv + "RunOnce", cv + "SharedDlls",
          "Software\\Microsoft\\Windows\\Help", "Software\\Microsoft\\Windows\\Html Help",
          "Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts", cv + "Fonts",
          "Software\\Microsoft\\Shared Tools\\MSConfig\\startupreg", cv + "Installer\\Folders",
          cv + "App Management\\ARPCache", cv + "Explorer\\ComDlg32\\OpenSaveMRU",
          cv + "Explorer\\FileExts", menuOrder + "Start Menu2\\Programs",
          menuOrder + "Start Menu\\Programs", menuOrder + "Start Menu\\&Programs",
          "Software\\Classes\\CLSID", "Software\\Classes\\TypeLib",
          "Software\\Classes\\Applications",
          // Formerly protected as a container Windows creates and as a hive's top key.
          "Software\\Classes", "Software"}},
        {"user containers outside Software",
         ContainerListsOutsideSoftware(RootKey::CurrentUser),
         {"AppEvents\\Schemes\\Apps"}},
        {"machine containers outside Software",
         ContainerListsOutsideSoftware(RootKey::LocalMachine),
         {"SYSTEM\\CurrentControlSet\\Services"}},
    };
    for (const auto& list : kLists) {
        EXPECT_EQ(Folded(list.derived), Folded(list.expected)) << list.name;
        EXPECT_EQ(list.derived.size(), Folded(list.derived).size()) << list.name << ": twice";
    }
}

}  // namespace
}  // namespace vantrel
