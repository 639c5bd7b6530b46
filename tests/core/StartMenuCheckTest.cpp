// Start Menu: ordering subkeys compared with the top-level program groups of both Programs folders.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/core/CheckTestFixture.h"

namespace vantrel {
namespace {

using checktest::CheckFixture;
using checktest::Row;
using ::testing::ElementsAre;

const std::string kOldKey = checktest::ProblemOf(checktest::kStartMenu);
constexpr RepairKind kSubkey = RepairKind::DeleteSubkey;
constexpr const char* kXpOrder =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Start "
    "Menu2\\Programs";
constexpr const char* k2000Order =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Start "
    "Menu\\Programs";
constexpr const char* kClassicOrder =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Start "
    "Menu\\&Programs";
constexpr const char* kUserPrograms = "C:\\Documents and Settings\\u\\Start Menu\\Programs";
constexpr const char* kCommonPrograms =
    "C:\\Documents and Settings\\All Users\\Start Menu\\Programs";

// The registry texts of the three ordering keys, each with one subkey named after its key.
constexpr const char* kAllThreeOrderKeys = R"(
[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\MenuOrder\Start Menu2\Programs\FromXp]
[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\MenuOrder\Start Menu\Programs\From2000]
[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\MenuOrder\Start Menu\&Programs\FromClassic]
)";

class StartMenuFixture : public CheckFixture {
  public:
    StartMenuFixture() {
        files.AddDirectory(kUserPrograms);
        files.AddDirectory(kCommonPrograms);
        files.SetSpecialFolder(specialfolder::kPrograms, kUserPrograms);
        files.SetSpecialFolder(specialfolder::kCommonPrograms, kCommonPrograms);
    }
    void AddGroup(const char* programsFolder, const std::string& group) {
        files.AddDirectory(std::string(programsFolder) + "\\" + group);
    }
};

TEST(StartMenuCheck, ChoosesTheOrderingKeyByWindowsVersionCode) {
    struct VersionCase {
        const char* name;
        int code;
        Row expected;
    };
    const std::vector<VersionCase> cases = {
        {"95", 1, {kOldKey, kClassicOrder, "FromClassic", kSubkey}},
        {"98", 3, {kOldKey, kClassicOrder, "FromClassic", kSubkey}},
        {"NT 3.x", 5, {kOldKey, kClassicOrder, "FromClassic", kSubkey}},
        {"NT 4.0", 6, {kOldKey, kClassicOrder, "FromClassic", kSubkey}},
        {"2000", 7, {kOldKey, k2000Order, "From2000", kSubkey}},
        {"Me", 8, {kOldKey, k2000Order, "From2000", kSubkey}},
        {"XP", 9, {kOldKey, kXpOrder, "FromXp", kSubkey}},
        {"2003 and later", 10, {kOldKey, kXpOrder, "FromXp", kSubkey}},
    };
    for (const VersionCase& versionCase : cases) {
        SCOPED_TRACE(versionCase.name);
        StartMenuFixture fixture;
        fixture.Load(kAllThreeOrderKeys);
        EXPECT_THAT(
            fixture.Run(checktest::kStartMenu, static_cast<WindowsVersion>(versionCase.code)),
            ElementsAre(versionCase.expected));
    }
}

TEST(StartMenuCheck, ReportsOrderingSubkeysWithoutATopLevelGroup) {
    StartMenuFixture fixture;
    fixture.AddGroup(kUserPrograms, "Games");
    fixture.AddGroup(kCommonPrograms, "Office");
    fixture.AddGroup(kUserPrograms, "Games\\Nested");
    fixture.files.AddFile(std::string(kUserPrograms) + "\\Tools");
    fixture.Load(R"(
[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\MenuOrder\Start Menu2\Programs]
"Order"=hex:01,02
[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\MenuOrder\Start Menu2\Programs\gAMES]
[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\MenuOrder\Start Menu2\Programs\Gone]
[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\MenuOrder\Start Menu2\Programs\Nested]
[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\MenuOrder\Start Menu2\Programs\OFFICE]
[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\MenuOrder\Start Menu2\Programs\Tools]
[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\MenuOrder\Start Menu2\Programs\Games\Deeper]
)");
    // A group two levels deep does not save an ordering key of its name, nor does a plain file.
    EXPECT_THAT(fixture.Run(checktest::kStartMenu),
                ElementsAre(Row{kOldKey, kXpOrder, "Gone", kSubkey},
                            Row{kOldKey, kXpOrder, "Nested", kSubkey},
                            Row{kOldKey, kXpOrder, "Tools", kSubkey}));
    EXPECT_EQ(fixture.ProgressKeys().size(), 5u);
    EXPECT_EQ(fixture.ProgressKeys().front(),
              std::string("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder"
                          "\\Start Menu2\\Programs\\gAMES"));
}

TEST(StartMenuCheck, AGroupInEitherProgramsFolderKeepsItsOrderingKey) {
    struct GroupCase {
        const char* name;
        bool inUserFolder;
        bool inCommonFolder;
        size_t expectedRows;
    };
    const std::vector<GroupCase> cases = {
        {"in both folders (listed twice)", true, true, 0},
        {"in the user's folder only", true, false, 0},
        {"in all users' folder only", false, true, 0},
        {"gone from both", false, false, 1},
    };
    for (const GroupCase& groupCase : cases) {
        SCOPED_TRACE(groupCase.name);
        StartMenuFixture fixture;
        if (groupCase.inUserFolder)
            fixture.AddGroup(kUserPrograms, "games");
        if (groupCase.inCommonFolder)
            fixture.AddGroup(kCommonPrograms, "GAMES");
        fixture.Load(
            "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder"
            "\\Start Menu2\\Programs\\Games]\r\n");
        EXPECT_EQ(fixture.Run(checktest::kStartMenu).size(), groupCase.expectedRows);
    }
}

// A group whose name the code page lacks is listed by its short name, and its ordering key's
// name comes back with '?' in place of the lost characters: the two never match, and the live
// group's order would be deleted. Names are compared only where both sides were read exactly.
TEST(StartMenuCheck, NamesReadInexactlyAreNeverTakenForGone) {
    StartMenuFixture fixture;
    fixture.AddGroup(kUserPrograms, "Long Group Name");
    fixture.files.AddShortName(std::string(kUserPrograms) + "\\Long Group Name",
                               std::string(kUserPrograms) + "\\LONGGR~1");
    fixture.Load(R"(
[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\MenuOrder\Start Menu2\Programs\?ames]
[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\MenuOrder\Start Menu2\Programs\LONGGR~1]
[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\MenuOrder\Start Menu2\Programs\Gone]
)");
    fixture.registry.MarkInexactName(RootKey::CurrentUser,
                                     "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuO"
                                     "rder\\Start Menu2\\Programs\\?ames",
                                     std::nullopt);
    EXPECT_THAT(fixture.Run(checktest::kStartMenu),
                ElementsAre(Row{kOldKey, kXpOrder, "Gone", kSubkey}));
}

TEST(StartMenuCheck, AProgramsFolderTheShellCannotSupplyAddsNoNames) {
    CheckFixture fixture;
    fixture.files.AddDirectory(std::string(kCommonPrograms) + "\\Games");
    fixture.files.SetSpecialFolder(specialfolder::kCommonPrograms, kCommonPrograms);
    fixture.Load(R"(
[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\MenuOrder\Start Menu2\Programs\Games]
[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\MenuOrder\Start Menu2\Programs\Office]
)");
    EXPECT_THAT(fixture.Run(checktest::kStartMenu),
                ElementsAre(Row{kOldKey, kXpOrder, "Office", kSubkey}));
}

TEST(StartMenuCheck, AMissingOrUnopenableOrderingKeyEndsTheCheckWithoutRows) {
    StartMenuFixture missing;
    missing.Load(
        "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder"
        "\\Start Menu\\Programs\\Other]\r\n");
    EXPECT_TRUE(missing.Run(checktest::kStartMenu).empty());

    StartMenuFixture refused;
    refused.Load(kAllThreeOrderKeys);
    refused.registry.RefuseOpen(
        RootKey::CurrentUser,
        "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Start Menu2\\Programs");
    EXPECT_TRUE(refused.Run(checktest::kStartMenu).empty());
}

TEST(StartMenuCheck, StopsBetweenOrderingSubkeys) {
    StartMenuFixture fixture;
    fixture.Load(R"(
[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\MenuOrder\Start Menu2\Programs\A]
[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\MenuOrder\Start Menu2\Programs\B]
)");
    fixture.sink.onIssue = [&](const ScanIssue&) { fixture.stop = true; };
    EXPECT_THROW(fixture.Run(checktest::kStartMenu), ScanStopped);
    EXPECT_THAT(fixture.Rows(), ElementsAre(Row{kOldKey, kXpOrder, "A", kSubkey}));
}

}  // namespace
}  // namespace vantrel
