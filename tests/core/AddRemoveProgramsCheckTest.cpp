// Add/Remove Programs (11).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/core/CheckTestFixture.h"

namespace vantrel {
namespace {

using checktest::CheckFixture;
using checktest::ExpectRows;
using checktest::Row;
using ::testing::ElementsAre;

Row EmptyEntry(const std::string& name) {
    return {checktest::ProblemOf(checktest::kAddRemovePrograms),
            "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall", name,
            RepairKind::DeleteSubkey};
}

TEST(AddRemoveProgramsCheck, ReportsEntriesHoldingNothing) {
    ExpectRows(
        checktest::kAddRemovePrograms,
        {
            {"display name",
             R"([HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\Named]
"DisplayName"="Named"
)",
             {}},
            {"no values and no subkeys",
             R"([HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\Bare]
)",
             {EmptyEntry("Bare")}},
            {"default values",
             R"([HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\EmptyDefault]
@=""
[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\TextDefault]
@="x"
[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\NumberDefault]
@=dword:00000000
)",
             {EmptyEntry("EmptyDefault")}},
            {"subkeys",
             R"([HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\TwoEmpty\A]
[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\TwoEmpty\B]
[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\OneFull\A]
"Version"="1"
[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\OneEmpty\A\B]
)",
             {EmptyEntry("OneEmpty")}},
            {"product code",
             R"([HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\{0001}]
)",
             {}},
        });
}

// Repair would delete what the scan could not read: an entry, or a key deeper down, that
// cannot be opened is not known to be empty.
TEST(AddRemoveProgramsCheck, LeavesAloneWhatItCannotRead) {
    CheckFixture fixture;
    fixture.Load(R"([HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\Locked]
"DisplayName"="Locked"
[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\LockedBelow\Inner]
"DisplayName"="Locked below"
[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\Empty]
)");
    const std::string uninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
    fixture.registry.RefuseOpen(RootKey::LocalMachine, uninstall + "Locked");
    fixture.registry.RefuseNotify(RootKey::LocalMachine, uninstall + "LockedBelow\\Inner");
    EXPECT_THAT(fixture.Run(checktest::kAddRemovePrograms), ElementsAre(EmptyEntry("Empty")));
}

TEST(AddRemoveProgramsCheck, ShowsEachExaminedEntry) {
    CheckFixture fixture;
    fixture.Load(R"([HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\{0001}]
[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\App]
)");
    fixture.Run(checktest::kAddRemovePrograms);
    EXPECT_THAT(fixture.ProgressKeys(),
                ElementsAre("Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\App"));
}

}  // namespace
}  // namespace vantrel
