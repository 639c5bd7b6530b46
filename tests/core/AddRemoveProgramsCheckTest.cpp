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
    return {"Add/Remove Programs Issue",
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

TEST(AddRemoveProgramsCheck, AnUnopenableEntryCountsAsEmpty) {
    CheckFixture fixture;
    fixture.Load(R"([HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\Locked]
"DisplayName"="Locked"
)");
    fixture.registry.RefuseOpen(RootKey::LocalMachine,
                                "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Locked");
    EXPECT_THAT(fixture.Run(checktest::kAddRemovePrograms), ElementsAre(EmptyEntry("Locked")));
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
