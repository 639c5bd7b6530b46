// Startup Programs (10).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/core/CheckTestFixture.h"

namespace vantrel {
namespace {

using checktest::CheckFixture;
using checktest::ExpectRows;
using checktest::Row;
using ::testing::ElementsAre;

const std::string kStartup = checktest::ProblemOf(checktest::kStartupPrograms);
constexpr const char* kUserRun =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\";
constexpr const char* kMachineRunOnce =
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce\\";
constexpr const char* kConfigTool =
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Shared Tools\\MSConfig\\startupreg\\";
constexpr const char* kConfigToolPath = "Software\\Microsoft\\Shared Tools\\MSConfig\\startupreg";

Row RunRow(const std::string& keyPrefix, const std::string& name, const std::string& value) {
    return {kStartup, keyPrefix + name, value, RepairKind::DeleteValueInKey};
}

TEST(StartupProgramsCheck, ReportsRunValuesNamingMissingPrograms) {
    ExpectRows(checktest::kStartupPrograms,
               {
                   {"quoted program with arguments: the whole text in the value column",
                    R"([HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run]
"Quoted"="\"C:\\Program Files\\Gone\\gone.exe\" /min"
)",
                    {RunRow(kUserRun, "Quoted", "\"C:\\Program Files\\Gone\\gone.exe\" /min")}},
                   {"removable or network drive, bare name, integer, present program",
                    R"([HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run]
"Removable"="D:\\Gone\\gone.exe"
"Network"="E:\\Gone\\gone.exe"
"Bare"="gone.exe /x"
"Number"=dword:00000001
"Present"="C:\\Windows\\system32\\rundll32.exe shell32.dll,Control_RunDLL"
)",
                    {}},
                   {"the same program under both roots, in root order",
                    R"([HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\RunOnce]
"Same"="C:\\Gone\\same.exe"
[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run]
"Same"="C:\\Gone\\same.exe"
)",
                    {RunRow(kUserRun, "Same", "C:\\Gone\\same.exe"),
                     RunRow(kMachineRunOnce, "Same", "C:\\Gone\\same.exe")}},
                   {"an existing folder counts only with a trailing backslash",
                    R"([HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run]
"Folder"="C:\\Existing"
"FolderSlash"="C:\\Existing\\"
)",
                    {RunRow(kUserRun, "Folder", "C:\\Existing")}},
                   {"a name holding a backslash cannot be told from a subkey's value in a row",
                    R"([HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run]
"Tool\\Agent"="C:\\Gone\\agent.exe"
[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run\Tool]
"Agent"="kept"
)",
                    {}},
               });
}

TEST(StartupProgramsCheck, ReportsConfigurationToolEntriesAsWholeKeys) {
    ExpectRows(
        checktest::kStartupPrograms,
        {
            {"an entry without a command, then one naming a missing program",
             R"([HKEY_LOCAL_MACHINE\Software\Microsoft\Shared Tools\MSConfig\startupreg\First]
"key"="SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run"
[HKEY_LOCAL_MACHINE\Software\Microsoft\Shared Tools\MSConfig\startupreg\Second]
"command"="C:\\Gone\\second.exe -start"
[HKEY_LOCAL_MACHINE\Software\Microsoft\Shared Tools\MSConfig\startupreg\Third]
"command"=dword:00000001
[HKEY_LOCAL_MACHINE\Software\Microsoft\Shared Tools\MSConfig\startupreg\Fourth]
"command"="C:\\Program Files\\App\\app.exe"
)",
             {{kStartup, std::string(kConfigTool) + "Second", "C:\\Gone\\second.exe -start",
               RepairKind::DeleteKey}}},
        });
}

TEST(StartupProgramsCheck, AnErrorAmongConfigurationToolEntriesEndsOnlyThatPart) {
    CheckFixture fixture;
    fixture.Load(R"([HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run]
"Run"="C:\\Gone\\run.exe"
[HKEY_LOCAL_MACHINE\Software\Microsoft\Shared Tools\MSConfig\startupreg\Early]
"command"="C:\\Gone\\early.exe"
[HKEY_LOCAL_MACHINE\Software\Microsoft\Shared Tools\MSConfig\startupreg\Fails]
"command"="C:\\Gone\\fails.exe"
[HKEY_LOCAL_MACHINE\Software\Microsoft\Shared Tools\MSConfig\startupreg\Late]
"command"="C:\\Gone\\late.exe"
)");
    fixture.registry.FailRead(RootKey::LocalMachine, std::string(kConfigToolPath) + "\\Fails",
                              "command");
    EXPECT_THAT(fixture.Run(checktest::kStartupPrograms),
                ElementsAre(RunRow(kUserRun, "Run", "C:\\Gone\\run.exe"),
                            Row{kStartup, std::string(kConfigTool) + "Early", "C:\\Gone\\early.exe",
                                RepairKind::DeleteKey}));
}

TEST(StartupProgramsCheck, AReadErrorInARunKeyPassesOut) {
    CheckFixture fixture;
    fixture.Load(R"([HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run]
"Broken"="C:\\Gone\\run.exe"
)");
    fixture.registry.FailRead(RootKey::CurrentUser,
                              "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Broken");
    EXPECT_THROW(fixture.Run(checktest::kStartupPrograms), RegistryError);
}

TEST(StartupProgramsCheck, AStopAmongConfigurationToolEntriesIsNotSwallowed) {
    CheckFixture fixture;
    fixture.Load(R"([HKEY_LOCAL_MACHINE\Software\Microsoft\Shared Tools\MSConfig\startupreg\Entry]
"command"="C:\\Gone\\entry.exe"
)");
    fixture.sink.onProgressKey = [&](const std::string& key) {
        if (key.find("MSConfig") != std::string::npos)
            fixture.stop = true;
    };
    EXPECT_THROW(fixture.Run(checktest::kStartupPrograms), ScanStopped);
    EXPECT_TRUE(fixture.Rows().empty());
}

TEST(StartupProgramsCheck, ShowsEachKeyItOpens) {
    CheckFixture fixture;
    fixture.Load(R"([HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run]
[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Run]
[HKEY_LOCAL_MACHINE\Software\Microsoft\Shared Tools\MSConfig\startupreg\Entry]
)");
    fixture.Run(checktest::kStartupPrograms);
    EXPECT_THAT(fixture.ProgressKeys(),
                ElementsAre("Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                            "Software\\Microsoft\\Windows\\CurrentVersion\\Run", kConfigToolPath));
}

}  // namespace
}  // namespace vantrel
