// Software Locations (6) and Shared DLLs (9).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/core/CheckTestFixture.h"

namespace vantrel {
namespace {

using checktest::CheckFixture;
using checktest::ExpectRows;
using checktest::Row;
using ::testing::ElementsAre;

const std::string kLocations = checktest::ProblemOf(checktest::kSoftwareLocations);
constexpr const char* kAppPaths =
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";

TEST(SoftwareLocationsCheck, ReportsEntriesWhoseProgramIsGone) {
    ExpectRows(
        checktest::kSoftwareLocations,
        {
            {"quoted path naming the entry in another case, file missing",
             R"([HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\App Paths\foo.EXE]
@="\"C:\\Program Files\\Foo\\FOO.EXE\" /x"
"Path"="C:\\Program Files\\Foo"
)",
             {{kLocations, std::string(kAppPaths) + "foo.EXE",
               "\"C:\\Program Files\\Foo\\FOO.EXE\" /x", RepairKind::DeleteKey}}},
            {"program present",
             R"([HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\App Paths\app.exe]
@="C:\\Program Files\\App\\app.exe"
)",
             {}},
            {"an entry named after a library is not examined",
             R"([HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\App Paths\foo.dll]
@="C:\\Missing\\foo.dll"
[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\App Paths\a.b]
@="C:\\Missing\\a.b"
)",
             {}},
            {"an entry without a dot is cut right after its name",
             R"([HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\App Paths\foo]
@="C:\\Missing\\foo.exe"
[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\App Paths\tool]
@="C:\\Bin\\tool.exe"
)",
             {{kLocations, std::string(kAppPaths) + "foo", "C:\\Missing\\foo.exe",
               RepairKind::DeleteKey}}},
            {"network drive, no drive, name not in the path",
             R"([HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\App Paths\net.exe]
@="E:\\Gone\\net.exe"
[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\App Paths\bare.exe]
@="bare.exe"
[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\App Paths\other.exe]
@="C:\\Missing\\different.exe"
)",
             {}},
            {"default value missing, empty or of another type",
             R"([HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\App Paths\none.exe]
"Path"="C:\\Missing"
[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\App Paths\empty.exe]
@=""
[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\App Paths\number.exe]
@=dword:00000001
)",
             {}},
        });
}

TEST(SoftwareLocationsCheck, AnUnopenableEntryIsSkippedAndTheNextExamined) {
    CheckFixture fixture;
    fixture.Load(
        R"([HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\App Paths\locked.exe]
@="C:\\Missing\\locked.exe"
[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\App Paths\gone.exe]
@="C:\\Missing\\gone.exe"
)");
    fixture.registry.RefuseOpen(
        RootKey::LocalMachine,
        "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\locked.exe");
    EXPECT_THAT(fixture.Run(checktest::kSoftwareLocations),
                ElementsAre(Row{kLocations, std::string(kAppPaths) + "gone.exe",
                                "C:\\Missing\\gone.exe", RepairKind::DeleteKey}));
    EXPECT_THAT(fixture.ProgressKeys(),
                ElementsAre("Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\gone.exe"));
}

TEST(SharedDllsCheck, ReportsMissingFilesAndZeroCounts) {
    const std::string kShared = checktest::ProblemOf(checktest::kSharedDlls);
    const std::string key =
        "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls";
    ExpectRows(
        checktest::kSharedDlls,
        {
            {"each case in enumeration order",
             R"([HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\SharedDlls]
"C:\\Lib\\present.dll"=dword:00000003
"C:\\Missing\\five.dll"=dword:00000005
"C:\\PROGRAM FILES\\App\\app.exe"=dword:00000000
"C:\\Missing\\text.dll"="1"
"C:\\Missing\\binary.dll"=hex:01,00,00,00
"relative.dll"=dword:00000001
"D:\\Removable\\any.dll"=dword:00000001
"\\\\server\\share\\any.dll"=dword:00000001
"unused.dll"=dword:00000000
)",
             // Only a file on a fixed disk is judged by its presence; a zero count anywhere.
             {{kShared, key, "C:\\Missing\\five.dll", RepairKind::DeleteNamedValue},
              {kShared, key, "C:\\PROGRAM FILES\\App\\app.exe", RepairKind::DeleteNamedValue},
              {kShared, key, "unused.dll", RepairKind::DeleteNamedValue}}},
            {"no key", "", {}},
        });
}

// A count of other than four bytes is no count: the entry is passed over, and the scan goes on.
TEST(SharedDllsCheck, ACountThatIsNoNumberIsPassedOver) {
    CheckFixture fixture;
    fixture.Load(R"([HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\SharedDlls]
"C:\\Lib\\present.dll"=hex(4):01,00,00
"C:\\Missing\\long.dll"=hex(4):01,00,00,00,00
"C:\\Missing\\gone.dll"=dword:00000001
)");
    EXPECT_THAT(fixture.Run(checktest::kSharedDlls),
                ElementsAre(Row{
                    checktest::ProblemOf(checktest::kSharedDlls),
                    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls",
                    "C:\\Missing\\gone.dll", RepairKind::DeleteNamedValue}));
}

TEST(SharedDllsCheck, ShowsTheKeyOnce) {
    CheckFixture fixture;
    fixture.Load(R"([HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\SharedDlls]
"C:\\Missing\\a.dll"=dword:00000001
"C:\\Missing\\b.dll"=dword:00000001
)");
    fixture.Run(checktest::kSharedDlls);
    EXPECT_THAT(fixture.ProgressKeys(),
                ElementsAre("Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls"));
}

}  // namespace
}  // namespace vantrel
