// Installer: uninstall entries naming programs, the installer's folders, the Add/Remove cache.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/core/CheckTestFixture.h"

namespace vantrel {
namespace {

using checktest::CheckCase;
using checktest::ExpectRows;
using checktest::Row;

const std::string kIssue = checktest::ProblemOf(checktest::kInstaller);
const std::string kUninstall =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const std::string kFolders =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\Folders";
const std::string kCache =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Management\\ARPCache";

TEST(InstallerCheck, UninstallEntriesAreJudgedByTheProgramTheyName) {
    ExpectRows(checktest::kInstaller,
               {
                   {"quoted uninstaller with arguments, program gone",
                    R"([HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Old]
"UninstallString"="\"C:\\Old\\unins000.exe\" /x"
)",
                    {{kIssue, kUninstall + "\\Old\\UninstallString", "\"C:\\Old\\unins000.exe\" /x",
                      RepairKind::DeleteValueInKey}}},
                   {"icon path with an index, reported as read",
                    R"([HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Old]
"DisplayIcon"="C:\\App\\SETUP.EXE,0"
)",
                    {{kIssue, kUninstall + "\\Old\\DisplayIcon", "C:\\App\\SETUP.EXE,0",
                      RepairKind::DeleteValueInKey}}},
                   {"no .exe in the text, program present, not a string",
                    R"([HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Pkg]
"DisplayVersion"="1.0"
"UninstallString"="C:\\Setup\\pkg.msi /x"
"InstallLocation"="C:\\Gone\\"
"Modify"="\"C:\\Program Files\\App\\app.exe\" /modify"
"EstimatedSize"=dword:00000400
)",
                    {}},
               });
}

TEST(InstallerCheck, InstallerFoldersAreTheValueNames) {
    ExpectRows(
        checktest::kInstaller,
        {
            {"missing folder reported by name, existing and non-fixed ones not",
             R"([HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Installer\Folders]
"C:\\Program Files\\Gone\\"=""
"C:\\Existing\\"=""
"D:\\Removable\\Gone\\"=""
"C:\\Also Gone\\"=dword:00000001
@="C:\\Gone\\by-data\\"
)",
             {{kIssue, kFolders, "C:\\Program Files\\Gone\\", RepairKind::DeleteNamedValue},
              {kIssue, kFolders, "C:\\Also Gone\\", RepairKind::DeleteNamedValue}}},
        });
}

TEST(InstallerCheck, CacheEntriesNeedAnUninstallEntryOfTheSameName) {
    ExpectRows(
        checktest::kInstaller,
        {
            {"names compared without letter case",
             R"([HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\FOO]
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\{1111-aaaa}]
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\App Management\ARPCache\Foo]
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\App Management\ARPCache\{2222-BBBB}]
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\App Management\ARPCache\{1111-AAAA}]
)",
             {{kIssue, kCache, "{2222-BBBB}", RepairKind::DeleteSubkey}}},
            {"no uninstall key: every cache entry is stale",
             R"([HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\App Management\ARPCache\Foo]
)",
             {{kIssue, kCache, "Foo", RepairKind::DeleteSubkey}}},
        });
}

TEST(InstallerCheck, RunsItsThreeStepsInOrderAndAMissingKeySkipsOnlyItsStep) {
    const char* allThree = R"(
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\App Management\ARPCache\Stale]
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Installer\Folders]
"C:\\Gone\\"=""
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Old]
"UninstallString"="C:\\Old\\uninst.exe"
)";
    const Row uninstallRow{kIssue, kUninstall + "\\Old\\UninstallString", "C:\\Old\\uninst.exe",
                           RepairKind::DeleteValueInKey};
    const Row folderRow{kIssue, kFolders, "C:\\Gone\\", RepairKind::DeleteNamedValue};
    const Row cacheRow{kIssue, kCache, "Stale", RepairKind::DeleteSubkey};
    struct StepCase {
        const char* name;
        const char* refusedKey;
        std::vector<Row> expected;
    };
    const std::vector<StepCase> cases = {
        {"all keys open", nullptr, {uninstallRow, folderRow, cacheRow}},
        {"folders key refused",
         "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\Folders",
         {uninstallRow, cacheRow}},
        {"cache key refused",
         "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Management\\ARPCache",
         {uninstallRow, folderRow}},
    };
    for (const StepCase& stepCase : cases) {
        SCOPED_TRACE(stepCase.name);
        checktest::CheckFixture fixture;
        fixture.Load(allThree);
        if (stepCase.refusedKey)
            fixture.registry.RefuseOpen(RootKey::LocalMachine, stepCase.refusedKey);
        EXPECT_EQ(fixture.Run(checktest::kInstaller), stepCase.expected);
    }
}

TEST(InstallerCheck, StopsBetweenCacheEntries) {
    checktest::CheckFixture fixture;
    fixture.Load(R"(
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\App Management\ARPCache\A]
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\App Management\ARPCache\B]
)");
    fixture.sink.onIssue = [&](const ScanIssue&) { fixture.stop = true; };
    EXPECT_THROW(fixture.Run(checktest::kInstaller), ScanStopped);
    EXPECT_EQ(fixture.Rows().size(), 1u);
}

}  // namespace
}  // namespace vantrel
