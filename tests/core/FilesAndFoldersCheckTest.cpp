// The missing-file value walker and the four checks that are one walk each (3, 4, 5, 19).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "scan/checks/MissingFileValueWalker.h"
#include "tests/core/CheckTestFixture.h"

namespace vantrel {
namespace {

using checktest::CheckCase;
using checktest::CheckFixture;
using checktest::ExpectRows;
using checktest::Row;
using ::testing::ElementsAre;

constexpr const char* kInvalid = "Invalid File or Folder";
constexpr RepairKind kValue = RepairKind::DeleteValueInKey;

TEST(FilesAndFoldersLocalMachineCheck, ReportsStringValuesNamingMissingFiles) {
    ExpectRows(
        checktest::kFilesAndFoldersLocalMachine,
        {
            {"missing file",
             R"([HKEY_LOCAL_MACHINE\Software\Vendor]
"Tool"="C:\\Missing\\tool.exe"
)",
             {{kInvalid, "HKEY_LOCAL_MACHINE\\Software\\Vendor\\Tool", "C:\\Missing\\tool.exe",
               kValue}}},
            {"existing file, existing folder, other drives, no drive",
             R"([HKEY_LOCAL_MACHINE\Software\Vendor]
"File"="C:\\Program Files\\App\\app.exe"
"Folder"="C:\\Existing"
"Removable"="D:\\Missing\\tool.exe"
"Network"="E:\\Missing\\tool.exe"
"Bare"="tool.exe"
)",
             {}},
            {"values of other types",
             R"([HKEY_LOCAL_MACHINE\Software\Vendor]
"Number"=dword:00000001
"Binary"=hex:43,3a,5c,78
"Multi"=hex(7):43,3a,5c,4d,5c,78,00,00
)",
             {}},
            {"default value gives a key text ending in a backslash",
             R"([HKEY_LOCAL_MACHINE\Software\Vendor]
@="C:\\Missing\\default.exe"
)",
             {{kInvalid, "HKEY_LOCAL_MACHINE\\Software\\Vendor\\", "C:\\Missing\\default.exe",
               kValue}}},
            {"only Software is walked",
             R"([HKEY_LOCAL_MACHINE\System\Vendor]
"Tool"="C:\\Missing\\tool.exe"
)",
             {}},
            {"values before subkeys, depth first, in enumeration order",
             R"([HKEY_LOCAL_MACHINE\Software\B]
"B1"="C:\\Missing\\b1.exe"
[HKEY_LOCAL_MACHINE\Software\B\Inner]
"I1"="C:\\Missing\\i1.exe"
[HKEY_LOCAL_MACHINE\Software\B]
"B2"="C:\\Missing\\b2.exe"
[HKEY_LOCAL_MACHINE\Software\C]
"C1"="C:\\Missing\\c1.exe"
)",
             {{kInvalid, "HKEY_LOCAL_MACHINE\\Software\\B\\B1", "C:\\Missing\\b1.exe", kValue},
              {kInvalid, "HKEY_LOCAL_MACHINE\\Software\\B\\B2", "C:\\Missing\\b2.exe", kValue},
              {kInvalid, "HKEY_LOCAL_MACHINE\\Software\\B\\Inner\\I1", "C:\\Missing\\i1.exe",
               kValue},
              {kInvalid, "HKEY_LOCAL_MACHINE\\Software\\C\\C1", "C:\\Missing\\c1.exe", kValue}}},
        });
}

TEST(FilesAndFoldersLocalMachineCheck, LeavesOutTheSkippedSubtreesByWholePath) {
    ExpectRows(checktest::kFilesAndFoldersLocalMachine,
               {
                   {"skip entry matches whatever the letter case, subtree included",
                    R"([HKEY_LOCAL_MACHINE\Software\CLASSES\clsid]
"Top"="C:\\Missing\\top.dll"
[HKEY_LOCAL_MACHINE\Software\CLASSES\clsid\{0001}\InprocServer32]
@="C:\\Missing\\server.dll"
)",
                    {}},
                   {"a longer name is walked",
                    R"([HKEY_LOCAL_MACHINE\Software\Classes\CLSIDX]
"Server"="C:\\Missing\\server.dll"
)",
                    {{kInvalid, "HKEY_LOCAL_MACHINE\\Software\\Classes\\CLSIDX\\Server",
                      "C:\\Missing\\server.dll", kValue}}},
                   {"the other entries",
                    R"([HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\SharedDlls]
"C:\\Missing\\a.dll"="C:\\Missing\\a.dll"
[HKEY_LOCAL_MACHINE\Software\Classes\TypeLib\{1}\1.0\0\win32]
@="C:\\Missing\\a.dll"
[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\App Paths\a.exe]
@="C:\\Missing\\a.exe"
[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\Help]
"a.hlp"="C:\\Missing"
[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\Html Help]
"a.chm"="C:\\Missing"
[HKEY_LOCAL_MACHINE\Software\Classes\Applications\a.exe\shell\open\command]
@="C:\\Missing\\a.exe"
[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Run]
"A"="C:\\Missing\\a.exe"
[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\RunOnce]
"A"="C:\\Missing\\a.exe"
[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\A]
"UninstallString"="C:\\Missing\\a.exe"
[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Installer\Folders]
"C:\\Missing\\"=""
[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\App Management\ARPCache\A]
"Path"="C:\\Missing\\a.exe"
)",
                    {}},
                   {"the current user's list is not in force",
                    R"([HKEY_LOCAL_MACHINE\Software\AppEvents\Schemes\Apps]
"A"="C:\\Missing\\a.wav"
)",
                    {{kInvalid, "HKEY_LOCAL_MACHINE\\Software\\AppEvents\\Schemes\\Apps\\A",
                      "C:\\Missing\\a.wav", kValue}}},
               });
}

TEST(FilesAndFoldersCurrentUserCheck, WalksTheWholeHiveLessItsSkippedKeys) {
    ExpectRows(checktest::kFilesAndFoldersCurrentUser,
               {
                   {"value directly under the root",
                    R"([HKEY_CURRENT_USER]
"RootValue"="C:\\Missing\\root.exe"
)",
                    {{kInvalid, "HKEY_CURRENT_USER\\RootValue", "C:\\Missing\\root.exe", kValue}}},
                   {"skipped keys",
                    R"([HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run]
"A"="C:\\Missing\\a.exe"
[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\RunOnce]
"A"="C:\\Missing\\a.exe"
[HKEY_CURRENT_USER\appevents\schemes\apps\.Default\Close\.Current]
@="C:\\Missing\\close.wav"
[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\ComDlg32\OpenSaveMRU\txt]
"a"="C:\\Missing\\a.txt"
)",
                    {}},
                   {"the machine's list is not in force, siblings of skipped keys are walked",
                    R"([HKEY_CURRENT_USER\Software\Classes\CLSID\{1}]
@="C:\\Missing\\a.dll"
[HKEY_CURRENT_USER\AppEvents\Schemes\Names\A]
"A"="C:\\Missing\\a.wav"
)",
                    {{kInvalid, "HKEY_CURRENT_USER\\AppEvents\\Schemes\\Names\\A\\A",
                      "C:\\Missing\\a.wav", kValue},
                     {kInvalid, "HKEY_CURRENT_USER\\Software\\Classes\\CLSID\\{1}\\",
                      "C:\\Missing\\a.dll", kValue}}},
               });
}

// The 32-bit view's copies of the skipped lists are other checks' too: "Software\X" also leaves
// out "Software\Wow6432Node\X", and "Software\Classes\X" the two 32-bit classes' "X".
TEST(FilesAndFoldersLocalMachineCheck, LeavesOutTheSkippedSubtreesThirtyTwoBitTwins) {
    CheckFixture fixture;
    fixture.Load(R"([HKEY_LOCAL_MACHINE\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\Run]
"A"="C:\\Missing\\a.exe"
[HKEY_LOCAL_MACHINE\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\Uninstall\A]
"UninstallString"="C:\\Missing\\a.exe"
[HKEY_LOCAL_MACHINE\Software\Classes\Wow6432Node\CLSID\{1}\InprocServer32]
@="C:\\Missing\\a.dll"
[HKEY_LOCAL_MACHINE\Software\Wow6432Node\Classes\TypeLib\{1}\1.0\0\win32]
@="C:\\Missing\\a.dll"
[HKEY_LOCAL_MACHINE\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\RunElsewhere]
"A"="C:\\Missing\\a.exe"
)");
    EXPECT_THAT(fixture.Run(checktest::kFilesAndFoldersLocalMachine),
                ElementsAre(Row{kInvalid,
                                "HKEY_LOCAL_MACHINE\\Software\\Wow6432Node\\Microsoft\\Windows\\"
                                "CurrentVersion\\RunElsewhere\\A",
                                "C:\\Missing\\a.exe", kValue}));
}

// A link leads into another key's tree, which the walk meets under its own path: the link is
// neither visited nor entered, and nothing is listed twice.
TEST(FilesAndFoldersLocalMachineCheck, ALinkIsNeitherVisitedNorEntered) {
    CheckFixture fixture;
    fixture.Load(R"([HKEY_LOCAL_MACHINE\Software\Vendor\Shared]
"A"="C:\\Missing\\a.exe"
)");
    fixture.registry.AddLink(RootKey::LocalMachine, "Software\\Wow6432Node\\Vendor\\Shared",
                             RootKey::LocalMachine, "Software\\Vendor\\Shared");
    fixture.registry.AddLink(RootKey::LocalMachine, "Software\\Loop", RootKey::LocalMachine,
                             "Software");
    EXPECT_THAT(fixture.Run(checktest::kFilesAndFoldersLocalMachine),
                ElementsAre(Row{kInvalid, "HKEY_LOCAL_MACHINE\\Software\\Vendor\\Shared\\A",
                                "C:\\Missing\\a.exe", kValue}));
    EXPECT_THAT(fixture.ProgressKeys(),
                ElementsAre("Software", "Software\\Vendor", "Software\\Vendor\\Shared",
                            "Software\\Wow6432Node", "Software\\Wow6432Node\\Vendor"));
}

// HKEY_CURRENT_USER is the hive HKEY_USERS lists under the user's SID: walking it again would
// list every row of the check before a second time, without its skip list.
TEST(FilesAndFoldersUsersCheck, WalksTheOtherUsersHivesWithTheCurrentUsersSkipList) {
    CheckFixture fixture;
    fixture.Load(R"([HKEY_USERS\S-1-5-21-7-7-7-1002\Software\Vendor]
"Gone"="C:\\Missing\\other.exe"
[HKEY_USERS\S-1-5-21-7-7-7-1002\Software\Microsoft\Windows\CurrentVersion\Run]
"Agent"="C:\\Missing\\agent.exe"
[HKEY_USERS\S-1-5-21-7-7-7-1002\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\RunOnce]
"Agent32"="C:\\Missing\\agent32.exe"
[HKEY_USERS\S-1-5-21-7-7-7-1002\AppEvents\Schemes\Apps\App\Event\.Current]
@="C:\\Missing\\sound.wav"
[HKEY_USERS\.DEFAULT\Software\Vendor]
"Gone"="C:\\Missing\\default.exe"
[HKEY_CURRENT_USER\Software\Vendor]
"Own"="C:\\Missing\\own.exe"
)");
    const std::string ownClasses = std::string(MemoryRegistry::kDefaultUserSid) + "_Classes";
    fixture.registry.SetString(RootKey::Users, ownClasses + "\\.own", "", "C:\\Missing\\own.exe");
    fixture.registry.SetString(RootKey::Users, "S-1-5-21-7-7-7-1002_Classes\\.other", "",
                               "C:\\Missing\\other-class.exe");
    EXPECT_THAT(fixture.Run(checktest::kFilesAndFoldersUsers),
                ElementsAre(Row{kInvalid, "HKEY_USERS\\.DEFAULT\\Software\\Vendor\\Gone",
                                "C:\\Missing\\default.exe", kValue},
                            Row{kInvalid, "HKEY_USERS\\S-1-5-21-7-7-7-1002\\Software\\Vendor\\Gone",
                                "C:\\Missing\\other.exe", kValue},
                            Row{kInvalid, "HKEY_USERS\\S-1-5-21-7-7-7-1002_Classes\\.other\\",
                                "C:\\Missing\\other-class.exe", kValue}));
}

TEST(InvalidActiveXCheck, JudgesOnlyTextNamingADll) {
    constexpr const char* kActiveX = "ActiveX Issue";
    ExpectRows(checktest::kInvalidActiveX,
               {
                   {"resource index after the name: reported with the text as stored",
                    R"([HKEY_CLASSES_ROOT\TypeLib\{1}\1.0\0\win32]
@="C:\\Missing\\x.DLL, 1"
)",
                    {{kActiveX, "HKEY_CLASSES_ROOT\\TypeLib\\{1}\\1.0\\0\\win32\\",
                      "C:\\Missing\\x.DLL, 1", kValue}}},
                   {"present library with an index, other extensions, other drives",
                    R"([HKEY_CLASSES_ROOT\TypeLib\{1}\1.0\0\win32]
@="C:\\Lib\\present.dll, 2"
"Ocx"="C:\\Missing\\x.ocx"
"Tlb"="C:\\Missing\\x.tlb"
"Removable"="D:\\Missing\\x.dll"
)",
                    {}},
                   {"only TypeLib is walked",
                    R"([HKEY_CLASSES_ROOT\CLSID\{1}\InprocServer32]
@="C:\\Missing\\x.dll"
)",
                    {}},
               });
}

TEST(MissingFileValueWalker, AnUnopenableKeyHidesItsSubtreeAndTheWalkGoesOn) {
    CheckFixture fixture;
    fixture.Load(R"([HKEY_LOCAL_MACHINE\Software\Locked]
"A"="C:\\Missing\\a.exe"
[HKEY_LOCAL_MACHINE\Software\Locked\Below]
"B"="C:\\Missing\\b.exe"
[HKEY_LOCAL_MACHINE\Software\Open]
"C"="C:\\Missing\\c.exe"
)");
    fixture.registry.RefuseOpen(RootKey::LocalMachine, "Software\\Locked");
    EXPECT_THAT(fixture.Run(checktest::kFilesAndFoldersLocalMachine),
                ElementsAre(Row{kInvalid, "HKEY_LOCAL_MACHINE\\Software\\Open\\C",
                                "C:\\Missing\\c.exe", kValue}));
}

TEST(MissingFileValueWalker, ExpandableStringsAreJudgedUnexpanded) {
    CheckFixture fixture;
    fixture.registry.SetString(RootKey::LocalMachine, "Software\\Vendor", "Expand",
                               "C:\\Missing\\a.exe", regtype::kExpandString);
    EXPECT_THAT(fixture.Run(checktest::kFilesAndFoldersLocalMachine),
                ElementsAre(Row{kInvalid, "HKEY_LOCAL_MACHINE\\Software\\Vendor\\Expand",
                                "C:\\Missing\\a.exe", kValue}));
}

TEST(MissingFileValueWalker, ShowsEachVisitedKeyOnceWithoutItsRoot) {
    CheckFixture fixture;
    fixture.Load(R"([HKEY_LOCAL_MACHINE\Software\A]
"1"="x"
"2"="y"
[HKEY_LOCAL_MACHINE\Software\A\Inner]
[HKEY_LOCAL_MACHINE\Software\B]
[HKEY_LOCAL_MACHINE\Software\Classes\CLSID\{1}]
)");
    fixture.Run(checktest::kFilesAndFoldersLocalMachine);
    EXPECT_THAT(fixture.ProgressKeys(), ElementsAre("Software", "Software\\A", "Software\\A\\Inner",
                                                    "Software\\B", "Software\\Classes"));
}

// The walk covers whole hives: per key one open and two listings, per string value one type
// query and one read, and nothing more (no re-opening of a key per value). The first row's risk
// reads the uninstall lists once per scan; that cost is measured on its own and added.
TEST(MissingFileValueWalker, CostsOneOpenAndTwoListingsPerKey) {
    CheckFixture fixture;
    fixture.Load(R"reg([HKEY_LOCAL_MACHINE\Software\A]
"1"="C:\\Missing\\one.exe"
"2"=dword:00000002
[HKEY_LOCAL_MACHINE\Software\A\B]
"3"="C:\\Existing"
[HKEY_LOCAL_MACHINE\Software\C]
)reg");
    size_t installedProgramsCost = fixture.registry.CallCount();
    fixture.WalkerContext().IsInstalledProgramKey(RootKey::LocalMachine, "Software\\A");
    installedProgramsCost = fixture.registry.CallCount() - installedProgramsCost;
    const size_t before = fixture.registry.CallCount();
    fixture.Run(checktest::kFilesAndFoldersLocalMachine);
    constexpr size_t kKeys = 4, kStringValues = 2, kOtherValues = 1;
    EXPECT_EQ(fixture.registry.CallCount() - before,
              3 * kKeys + 2 * kStringValues + kOtherValues + installedProgramsCost);
}

TEST(MissingFileValueWalker, ShowsTheRootAsAnEmptyLine) {
    CheckFixture fixture;
    fixture.Load("[HKEY_CURRENT_USER\\Console]\r\n");
    fixture.Run(checktest::kFilesAndFoldersCurrentUser);
    EXPECT_THAT(fixture.ProgressKeys(), ElementsAre("", "Console"));
}

TEST(MissingFileValueWalker, OnlyTheScannedRootsAreWalked) {
    CheckFixture fixture;
    fixture.Load(R"([HKEY_CURRENT_CONFIG\Software]
"A"="C:\\Missing\\a.exe"
)");
    ScanContext context = fixture.WalkerContext();
    WalkMissingFileValues(context, RootKey::CurrentConfig, "Software", "");
    WalkMissingFileValues(context, RootKey::PerformanceData, "", "");
    WalkMissingFileValues(context, RootKey::None, "Software", "");
    EXPECT_THAT(fixture.Rows(), ElementsAre(Row{"Caption", "HKEY_CURRENT_CONFIG\\Software\\A",
                                                "C:\\Missing\\a.exe", kValue}));
}

TEST(MissingFileValueWalker, SkipsTheStartingKeyItselfWhenListed) {
    CheckFixture fixture;
    fixture.Load(R"([HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\Help]
"a.hlp"="C:\\Missing\\a.hlp"
)");
    ScanContext context = fixture.WalkerContext();
    WalkMissingFileValues(context, RootKey::LocalMachine, "software\\microsoft\\windows\\help", "",
                          LocalMachineSkipKeys());
    EXPECT_TRUE(fixture.Rows().empty());
    EXPECT_TRUE(fixture.ProgressKeys().empty());
}

TEST(MissingFileValueWalker, AReadErrorPassesOutOfTheWalkKeepingEarlierRows) {
    CheckFixture fixture;
    fixture.Load(R"([HKEY_LOCAL_MACHINE\Software\A]
"Before"="C:\\Missing\\before.exe"
"Broken"="C:\\Missing\\broken.exe"
"After"="C:\\Missing\\after.exe"
)");
    fixture.registry.FailRead(RootKey::LocalMachine, "Software\\A", "Broken");
    EXPECT_THROW(fixture.Run(checktest::kFilesAndFoldersLocalMachine), RegistryError);
    EXPECT_THAT(fixture.Rows(), ElementsAre(Row{kInvalid, "HKEY_LOCAL_MACHINE\\Software\\A\\Before",
                                                "C:\\Missing\\before.exe", kValue}));
}

TEST(MissingFileValueWalker, AStopBetweenValuesEndsTheWalk) {
    CheckFixture fixture;
    fixture.Load(R"([HKEY_LOCAL_MACHINE\Software\A]
"First"="C:\\Missing\\first.exe"
"Second"="C:\\Missing\\second.exe"
[HKEY_LOCAL_MACHINE\Software\A\B]
"Third"="C:\\Missing\\third.exe"
)");
    fixture.sink.onIssue = [&](const ScanIssue&) { fixture.stop = true; };
    EXPECT_THROW(fixture.Run(checktest::kFilesAndFoldersLocalMachine), ScanStopped);
    EXPECT_EQ(fixture.Rows().size(), 1u);
}

TEST(MissingFileValueWalker, AStopBetweenSubkeysEndsTheWalk) {
    CheckFixture fixture;
    fixture.Load(R"([HKEY_LOCAL_MACHINE\Software\A]
[HKEY_LOCAL_MACHINE\Software\B]
"B"="C:\\Missing\\b.exe"
)");
    fixture.sink.onProgressKey = [&](const std::string& key) {
        if (key == "Software\\A")
            fixture.stop = true;
    };
    EXPECT_THROW(fixture.Run(checktest::kFilesAndFoldersLocalMachine), ScanStopped);
    EXPECT_TRUE(fixture.Rows().empty());
    EXPECT_THAT(fixture.ProgressKeys(), ElementsAre("Software", "Software\\A"));
}

// Every check observes a stop that was requested before it began: nothing is reported.
TEST(ChecksOfThisFamily, AStopRequestedBeforehandYieldsNoRow) {
    const std::vector<std::pair<const char*, CheckId>> checks = {
        {"3", checktest::kFilesAndFoldersLocalMachine},
        {"4", checktest::kFilesAndFoldersCurrentUser},
        {"5", checktest::kFilesAndFoldersUsers},
        {"6", checktest::kSoftwareLocations},
        {"7", checktest::kWindowsFonts},
        {"8", checktest::kHelpFilePaths},
        {"9", checktest::kSharedDlls},
        {"10", checktest::kStartupPrograms},
        {"11", checktest::kAddRemovePrograms},
        {"19", checktest::kInvalidActiveX},
    };
    for (const auto& [name, check] : checks) {
        SCOPED_TRACE(name);
        CheckFixture fixture;
        fixture.Load(R"([HKEY_LOCAL_MACHINE\Software\Vendor]
"Tool"="C:\\Missing\\tool.exe"
[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run]
"A"="C:\\Missing\\a.exe"
[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\Empty]
)");
        fixture.stop = true;
        EXPECT_THROW(fixture.Run(check), ScanStopped);
        EXPECT_TRUE(fixture.Rows().empty());
    }
}

}  // namespace
}  // namespace vantrel
