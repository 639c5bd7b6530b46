// Obsolete Software (14): first-level Software keys whose subtree holds no data.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/core/CheckTestFixture.h"

namespace vantrel {
namespace {

using checktest::CheckCase;
using checktest::CheckFixture;
using checktest::ExpectRows;
using checktest::Row;
using ::testing::ElementsAre;

const std::string kObsolete = checktest::ProblemOf(checktest::kObsoleteSoftware);
constexpr const char* kUserSoftware = "HKEY_CURRENT_USER\\Software";
constexpr const char* kMachineSoftware = "HKEY_LOCAL_MACHINE\\Software";
constexpr RepairKind kSubkey = RepairKind::DeleteSubkey;

TEST(ObsoleteSoftwareCheck, ReportsVendorKeysWithoutData) {
    const std::vector<CheckCase> cases = {
        {"one empty subkey and no values",
         R"([HKEY_CURRENT_USER\Software\OldVendor\OldProduct]
)",
         {Row{kObsolete, kUserSoftware, "OldVendor", kSubkey}}},
        {"no subkey and no value",
         R"([HKEY_LOCAL_MACHINE\Software\Bare]
)",
         {Row{kObsolete, kMachineSoftware, "Bare", kSubkey}}},
        {"a chain of single empty subkeys",
         R"([HKEY_CURRENT_USER\Software\OldVendor\A\B\C]
)",
         {Row{kObsolete, kUserSoftware, "OldVendor", kSubkey}}},
        {"a named value of zero length deep below",
         R"([HKEY_CURRENT_USER\Software\OldVendor\A\B]
"Flag"=hex:
)",
         {}},
        {"an empty named string",
         R"([HKEY_CURRENT_USER\Software\OldVendor]
"x"=""
)",
         {}},
        {"an empty default string counts as a value",
         R"([HKEY_CURRENT_USER\Software\OldVendor\A]
@=""
)",
         {}},
        {"a number",
         R"([HKEY_LOCAL_MACHINE\Software\Vendor\Product]
"Installed"=dword:00000001
)",
         {}},
        {"two empty direct subkeys",
         R"([HKEY_CURRENT_USER\Software\OldVendor\A]
[HKEY_CURRENT_USER\Software\OldVendor\B]
)",
         {}},
        {"one subkey that has two subkeys",
         R"([HKEY_CURRENT_USER\Software\OldVendor\A\X]
[HKEY_CURRENT_USER\Software\OldVendor\A\Y]
)",
         {}},
        {"only first-level keys are reported",
         R"([HKEY_CURRENT_USER\Software\Vendor]
"Name"="Vendor"
[HKEY_CURRENT_USER\Software\Vendor\EmptyProduct]
[HKEY_CURRENT_USER\Software\Vendor\Other]
"x"="1"
)",
         {}},
        {"the current user's keys come before the machine's",
         R"([HKEY_LOCAL_MACHINE\Software\MachineOld]
[HKEY_CURRENT_USER\Software\UserOld]
[HKEY_CURRENT_USER\Software\UserKept]
"v"="1"
[HKEY_CURRENT_USER\Software\UserOld2]
)",
         {Row{kObsolete, kUserSoftware, "UserOld", kSubkey},
          Row{kObsolete, kUserSoftware, "UserOld2", kSubkey},
          Row{kObsolete, kMachineSoftware, "MachineOld", kSubkey}}},
        {"no Software keys", "", {}},
    };
    ExpectRows(checktest::kObsoleteSoftware, cases);
}

TEST(ObsoleteSoftwareCheck, ShowsTheSoftwareLocationsCaptionAndEachVendorKey) {
    CheckFixture fixture;
    fixture.Load(R"([HKEY_CURRENT_USER\Software\A]
"v"="1"
[HKEY_LOCAL_MACHINE\Software\B]
)");
    fixture.Run(checktest::kObsoleteSoftware);
    EXPECT_EQ(fixture.sink.Events().front(),
              "caption " + checktest::ProgressCaptionOf(checktest::kObsoleteSoftware));
    EXPECT_THAT(fixture.ProgressKeys(), ElementsAre("Software\\A", "Software\\B"));
}

// A key the scan cannot read is not known to be empty: offering it for deletion could remove
// data nobody has looked at.
TEST(ObsoleteSoftwareCheck, AVendorKeyThatCannotBeOpenedIsNotReported) {
    CheckFixture fixture;
    fixture.Load(R"([HKEY_CURRENT_USER\Software\Locked]
"Secret"="1"
[HKEY_CURRENT_USER\Software\OldVendor]
)");
    fixture.registry.RefuseOpen(RootKey::CurrentUser, "Software\\Locked");
    EXPECT_THAT(fixture.Run(checktest::kObsoleteSoftware),
                ElementsAre(Row{kObsolete, kUserSoftware, "OldVendor", kSubkey}));
}

// KEY_READ asks for notification, which KeyExists does not: a vendor key that refuses it exists
// but cannot be counted, and what cannot be read is not known to be empty.
TEST(ObsoleteSoftwareCheck, AVendorKeyTheCountCannotReadIsNotReported) {
    CheckFixture fixture;
    fixture.Load(R"([HKEY_CURRENT_USER\Software\Quiet]
"Setting"="kept"
[HKEY_CURRENT_USER\Software\QuietBelow\Inner]
"Setting"="kept"
)");
    fixture.registry.RefuseNotify(RootKey::CurrentUser, "Software\\Quiet");
    fixture.registry.RefuseNotify(RootKey::CurrentUser, "Software\\QuietBelow\\Inner");
    EXPECT_THAT(fixture.Run(checktest::kObsoleteSoftware), ::testing::IsEmpty());
}

// Windows creates these containers and programs expect them, empty or not.
TEST(ObsoleteSoftwareCheck, TheContainersWindowsCreatesAreNeverReported) {
    CheckFixture fixture;
    fixture.Load(R"([HKEY_LOCAL_MACHINE\Software\Policies]
[HKEY_LOCAL_MACHINE\Software\Registered Applications]
[HKEY_LOCAL_MACHINE\Software\Clients]
[HKEY_LOCAL_MACHINE\Software\ODBC]
[HKEY_CURRENT_USER\Software\Classes]
[HKEY_CURRENT_USER\Software\RegisteredApplications]
[HKEY_CURRENT_USER\Software\Policies\Microsoft]
[HKEY_LOCAL_MACHINE\Software\Leftover]
)");
    EXPECT_THAT(fixture.Run(checktest::kObsoleteSoftware),
                ElementsAre(Row{kObsolete, kMachineSoftware, "Leftover", kSubkey}));
}

TEST(ObsoleteSoftwareCheck, AnUnopenableSoftwareKeyEndsOnlyItsRun) {
    CheckFixture fixture;
    fixture.Load(R"([HKEY_CURRENT_USER\Software\UserOld]
[HKEY_LOCAL_MACHINE\Software\MachineOld]
)");
    fixture.registry.RefuseOpen(RootKey::CurrentUser, "Software");
    EXPECT_THAT(fixture.Run(checktest::kObsoleteSoftware),
                ElementsAre(Row{kObsolete, kMachineSoftware, "MachineOld", kSubkey}));
}

TEST(ObsoleteSoftwareCheck, AStopBetweenVendorKeysEndsTheCheck) {
    CheckFixture fixture;
    fixture.Load(R"([HKEY_CURRENT_USER\Software\A]
[HKEY_CURRENT_USER\Software\B]
[HKEY_LOCAL_MACHINE\Software\C]
)");
    fixture.sink.onIssue = [&](const ScanIssue&) { fixture.stop = true; };
    EXPECT_THROW(fixture.Run(checktest::kObsoleteSoftware), ScanStopped);
    EXPECT_THAT(fixture.Rows(), ElementsAre(Row{kObsolete, kUserSoftware, "A", kSubkey}));
}

}  // namespace
}  // namespace vantrel
