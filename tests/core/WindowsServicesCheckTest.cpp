// Windows Services (15): services whose program path names a missing file.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/core/CheckTestFixture.h"

namespace vantrel {
namespace {

using checktest::CheckCase;
using checktest::CheckFixture;
using checktest::Row;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::string kService = checktest::ProblemOf(checktest::kWindowsServices);
constexpr const char* kServices = "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\";
constexpr RepairKind kValue = RepairKind::DeleteValueInKey;

Row ServiceRow(const std::string& service, const std::string& imagePath) {
    return Row{kService, std::string(kServices) + service + "\\ImagePath", imagePath, kValue};
}

class WindowsServicesCheckTest : public ::testing::Test {
  protected:
    static void Prepare(CheckFixture& fixture) {
        fixture.files.SetEnvironment("SystemRoot", "C:\\Windows");
    }
};

TEST_F(WindowsServicesCheckTest, JudgesEachServiceImagePath) {
    const std::vector<CheckCase> cases = {
        {"a missing program with an argument",
         R"([HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\Svc]
"ImagePath"="C:\\Prog\\missing.exe -service"
)",
         {ServiceRow("Svc", "C:\\Prog\\missing.exe -service")}},
        {"a quoted missing program",
         R"([HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\Svc]
"ImagePath"="\"C:\\Program Files\\App\\gone.exe\" -k"
)",
         {ServiceRow("Svc", "\"C:\\Program Files\\App\\gone.exe\" -k")}},
        {"an expandable path through an environment reference",
         R"([HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\Svc]
"ImagePath"=hex(2):25,53,79,73,74,65,6d,52,6f,6f,74,25,5c,67,6f,6e,65,2e,65,78,65,00
[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\Present]
"ImagePath"=hex(2):25,53,79,73,74,65,6d,52,6f,6f,74,25,5c,73,79,73,74,65,6d,33,32,5c,72,\
  75,6e,64,6c,6c,33,32,2e,65,78,65,00
)",
         {ServiceRow("Svc", "%SystemRoot%\\gone.exe")}},
        {"present programs and folders",
         R"([HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\A]
"ImagePath"="C:\\Windows\\system32\\rundll32.exe shell32.dll,Control_RunDLL"
[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\B]
"ImagePath"="C:\\Existing"
[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\C]
"ImagePath"="C:\\Program Files\\App\\app.exe"
)",
         {}},
        {"driver paths carry no drive",
         R"([HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\A]
"ImagePath"="system32\\drivers\\gone.sys"
[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\B]
"ImagePath"="\\SystemRoot\\System32\\gone.sys"
[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\C]
"ImagePath"="D:\\Gone\\svc.exe"
)",
         {}},
        {"no ImagePath, or one that is not text",
         R"([HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\A]
"DisplayName"="C:\\Gone\\a.exe"
[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\B]
"ImagePath"=hex:43,3a,5c,00
[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\C]
"ImagePath"=dword:00000001
[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\D]
@="C:\\Gone\\d.exe"
)",
         {}},
        {"in the registry's order, only the service keys themselves",
         R"([HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\Zeta]
"ImagePath"="C:\\Gone\\zeta.exe"
[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\Zeta\Parameters]
"ImagePath"="C:\\Gone\\param.exe"
[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\Alpha]
"imagepath"="C:\\Gone\\alpha.exe"
)",
         {ServiceRow("Alpha", "C:\\Gone\\alpha.exe"), ServiceRow("Zeta", "C:\\Gone\\zeta.exe")}},
        {"no services key", "", {}},
    };
    for (const CheckCase& checkCase : cases) {
        SCOPED_TRACE(checkCase.name);
        CheckFixture fixture;
        Prepare(fixture);
        fixture.Load(checkCase.regText);
        EXPECT_EQ(fixture.Run(checktest::kWindowsServices), checkCase.expected);
    }
}

TEST_F(WindowsServicesCheckTest, AServiceKeyThatCannotBeOpenedIsPassedOver) {
    CheckFixture fixture;
    fixture.Load(R"([HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\Locked]
"ImagePath"="C:\\Gone\\locked.exe"
[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\Open]
"ImagePath"="C:\\Gone\\open.exe"
)");
    fixture.registry.RefuseOpen(RootKey::LocalMachine,
                                "SYSTEM\\CurrentControlSet\\Services\\Locked");
    EXPECT_THAT(fixture.Run(checktest::kWindowsServices),
                ElementsAre(ServiceRow("Open", "C:\\Gone\\open.exe")));
    EXPECT_EQ(fixture.sink.Events().front(),
              "caption " + checktest::ProgressCaptionOf(checktest::kWindowsServices));
    EXPECT_THAT(fixture.ProgressKeys(), ElementsAre("SYSTEM\\CurrentControlSet\\Services\\Open"));
}

TEST_F(WindowsServicesCheckTest, AReadErrorPassesOutKeepingEarlierRows) {
    CheckFixture fixture;
    fixture.Load(R"([HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\A]
"ImagePath"="C:\\Gone\\a.exe"
[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\Bad]
"ImagePath"="C:\\Gone\\bad.exe"
)");
    fixture.registry.FailRead(RootKey::LocalMachine, "SYSTEM\\CurrentControlSet\\Services\\Bad",
                              "ImagePath");
    EXPECT_THROW(fixture.Run(checktest::kWindowsServices), RegistryError);
    EXPECT_THAT(fixture.Rows(), ElementsAre(ServiceRow("A", "C:\\Gone\\a.exe")));
}

TEST_F(WindowsServicesCheckTest, AStopBetweenServicesEndsTheCheck) {
    CheckFixture fixture;
    fixture.Load(R"([HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\A]
"ImagePath"="C:\\Gone\\a.exe"
[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\B]
"ImagePath"="C:\\Gone\\b.exe"
)");
    fixture.sink.onIssue = [&](const ScanIssue&) { fixture.stop = true; };
    EXPECT_THROW(fixture.Run(checktest::kWindowsServices), ScanStopped);
    EXPECT_THAT(fixture.Rows(), ElementsAre(ServiceRow("A", "C:\\Gone\\a.exe")));
}

// Every check of this family observes a stop that was requested before it began.
TEST(ClassAndServiceChecks, AStopRequestedBeforehandYieldsNoRow) {
    const std::vector<std::pair<const char*, CheckId>> checks = {
        {"12", checktest::kFileExtensions},   {"13", checktest::kCustomControls},
        {"14", checktest::kObsoleteSoftware}, {"15", checktest::kWindowsServices},
        {"18", checktest::kSoundEvents},
    };
    for (const auto& [name, check] : checks) {
        SCOPED_TRACE(name);
        CheckFixture fixture;
        fixture.Load(R"([HKEY_LOCAL_MACHINE\Software\Classes\.abc]
@=""
[HKEY_CLASSES_ROOT\CLSID\{X}]
@="C:\\Gone\\x.dll"
[HKEY_CURRENT_USER\Software\Empty]
[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\A]
"ImagePath"="C:\\Gone\\a.exe"
[HKEY_CURRENT_USER\AppEvents\Schemes\Apps\.Default\A\.Current]
@="C:\\Gone\\a.wav"
)");
        fixture.stop = true;
        EXPECT_THROW(fixture.Run(check), ScanStopped);
        EXPECT_TRUE(fixture.Rows().empty());
    }
}

}  // namespace
}  // namespace vantrel
