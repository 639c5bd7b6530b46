// Shortcuts: .lnk files in the six shell folders, judged by their resolved targets.
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
using ::testing::IsEmpty;

const std::string kMissing = checktest::ProblemOf(checktest::kShortcuts);
constexpr RepairKind kFile = RepairKind::DeleteNamedFile;
constexpr const char* kDesktop = "C:\\Documents and Settings\\u\\Desktop";

struct ShellFolder {
    int number;
    const char* path;
};

// XP's layout: six folders, none inside another.
const std::vector<ShellFolder> kXpFolders = {
    {specialfolder::kCommonStartMenu, "C:\\Documents and Settings\\All Users\\Start Menu"},
    {specialfolder::kCommonDesktopDirectory, "C:\\Documents and Settings\\All Users\\Desktop"},
    {specialfolder::kAppData, "C:\\Documents and Settings\\u\\Application Data"},
    {specialfolder::kRecent, "C:\\Documents and Settings\\u\\Recent"},
    {specialfolder::kStartMenu, "C:\\Documents and Settings\\u\\Start Menu"},
    {specialfolder::kDesktopDirectory, kDesktop},
};

class ShortcutsFixture : public CheckFixture {
  public:
    explicit ShortcutsFixture(const std::vector<ShellFolder>& folders = kXpFolders) {
        for (const ShellFolder& folder : folders) {
            files.AddDirectory(folder.path);
            files.SetSpecialFolder(folder.number, folder.path);
        }
    }
};

std::string In(const char* folder, const char* name) {
    return std::string(folder) + "\\" + name;
}

TEST(ShortcutsCheck, JudgesEachShortcutByItsTarget) {
    struct LinkCase {
        const char* name;
        const char* fileName;
        const char* target;  // nullptr: a file that holds no readable shortcut
        bool reported;
    };
    const std::vector<LinkCase> cases = {
        {"target missing", "Old.lnk", "C:\\Old\\old.exe", true},
        {"target an existing file", "App.lnk", "C:\\Program Files\\App\\app.exe", false},
        {"target an existing folder", "Folder.lnk", "C:\\Existing", false},
        {"extension in capitals", "readme.LNK", "C:\\Old\\readme.txt", true},
        {"not the last extension", "x.lnk.txt", "C:\\Old\\x.exe", false},
        // Only a fixed disk answers for what is not there.
        {"a network share is not judged", "Net.lnk", "\\\\server\\share\\x.exe", false},
        {"a removable drive is not judged", "Floppy.lnk", "D:\\x.exe", false},
        {"a mapped network drive is not judged", "Mapped.lnk", "E:\\Gone\\x.exe", false},
        {"a drive that is not there is not judged", "NoDrive.lnk", "Q:\\x.exe", false},
        {"a name without a drive is not judged", "Bare.lnk", "x.exe", false},
        {"existing on a network drive", "NetDrive.lnk", "E:\\Net\\net.exe", false},
        {"no file-system target", "Control.lnk", "", false},
        {"cannot be loaded", "Broken.lnk", nullptr, false},
    };
    for (const LinkCase& linkCase : cases) {
        SCOPED_TRACE(linkCase.name);
        ShortcutsFixture fixture;
        const std::string link = In(kDesktop, linkCase.fileName);
        if (linkCase.target)
            fixture.files.SetShortcutTarget(link, linkCase.target);
        else
            fixture.files.AddFile(link);
        const std::vector<Row> rows = fixture.Run(checktest::kShortcuts);
        if (linkCase.reported)
            EXPECT_THAT(rows, ElementsAre(Row{kMissing, link, linkCase.target, kFile}));
        else
            EXPECT_THAT(rows, IsEmpty());
    }
}

TEST(ShortcutsCheck, SearchesTheSixFoldersInOrderAndSubfoldersDepthFirst) {
    ShortcutsFixture fixture;
    const char* userStartMenu = "C:\\Documents and Settings\\u\\Start Menu";
    // Listing order is insertion order: the group is listed before the later shortcut.
    fixture.files.SetShortcutTarget(In(kDesktop, "first.lnk"), "C:\\Gone\\1.exe");
    fixture.files.SetShortcutTarget(In(userStartMenu, "Programs\\Group\\Sub\\deep.lnk"),
                                    "C:\\Gone\\2.exe");
    fixture.files.SetShortcutTarget(In(userStartMenu, "Programs\\after.lnk"), "C:\\Gone\\3.exe");
    fixture.files.SetShortcutTarget(In(userStartMenu, "top.lnk"), "C:\\Gone\\4.exe");
    fixture.files.SetShortcutTarget("C:\\Documents and Settings\\All Users\\Desktop\\common.lnk",
                                    "C:\\Gone\\5.exe");
    fixture.files.SetShortcutTarget("C:\\Documents and Settings\\u\\Recent\\doc.lnk",
                                    "C:\\Gone\\doc.txt");
    fixture.files.SetShortcutTarget("C:\\Elsewhere\\outside.lnk", "C:\\Gone\\6.exe");

    EXPECT_THAT(
        fixture.Run(checktest::kShortcuts),
        ElementsAre(
            Row{kMissing, "C:\\Documents and Settings\\All Users\\Desktop\\common.lnk",
                "C:\\Gone\\5.exe", kFile},
            Row{kMissing, "C:\\Documents and Settings\\u\\Recent\\doc.lnk", "C:\\Gone\\doc.txt",
                kFile},
            Row{kMissing, In(userStartMenu, "Programs\\Group\\Sub\\deep.lnk"), "C:\\Gone\\2.exe",
                kFile},
            Row{kMissing, In(userStartMenu, "Programs\\after.lnk"), "C:\\Gone\\3.exe", kFile},
            Row{kMissing, In(userStartMenu, "top.lnk"), "C:\\Gone\\4.exe", kFile},
            Row{kMissing, In(kDesktop, "first.lnk"), "C:\\Gone\\1.exe", kFile}));
    // The key line shows each shortcut examined, not the folders.
    EXPECT_EQ(fixture.ProgressKeys().size(), 6u);
}

TEST(ShortcutsCheck, PassesOverFoldersTheShellCannotSupplyOrThatAreMissing) {
    ShortcutsFixture fixture({{specialfolder::kDesktopDirectory, kDesktop},
                              {specialfolder::kRecent, "C:\\No\\Such\\Folder"}});
    fixture.files.Remove("C:\\No\\Such\\Folder");
    fixture.files.SetShortcutTarget(In(kDesktop, "Old.lnk"), "C:\\Old\\old.exe");
    EXPECT_THAT(fixture.Run(checktest::kShortcuts),
                ElementsAre(Row{kMissing, In(kDesktop, "Old.lnk"), "C:\\Old\\old.exe", kFile}));
}

TEST(ShortcutsCheck, AFolderReachedTwiceIsSearchedOnce) {
    // Newer layouts keep Start Menu and Recent inside Application Data, and a shell may give
    // two folder numbers one path.
    const char* appData = "C:\\Users\\u\\AppData\\Roaming";
    const char* startMenu = "C:\\Users\\u\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu";
    const char* desktop = "C:\\Users\\u\\Desktop";
    ShortcutsFixture fixture({{specialfolder::kAppData, appData},
                              {specialfolder::kStartMenu, startMenu},
                              {specialfolder::kCommonDesktopDirectory, desktop},
                              {specialfolder::kDesktopDirectory, "c:\\users\\U\\DESKTOP\\"}});
    fixture.files.SetShortcutTarget(In(startMenu, "old.lnk"), "C:\\Old\\old.exe");
    fixture.files.SetShortcutTarget(In(desktop, "gone.lnk"), "C:\\Old\\gone.exe");
    EXPECT_THAT(fixture.Run(checktest::kShortcuts),
                ElementsAre(Row{kMissing, In(desktop, "gone.lnk"), "C:\\Old\\gone.exe", kFile},
                            Row{kMissing, In(startMenu, "old.lnk"), "C:\\Old\\old.exe", kFile}));
}

// Junctions and symbolic links are never followed: "Application Data" inside a profile leads
// back to the profile itself, and a search through it would find the same shortcuts again and
// again until the paths grow too long.
TEST(ShortcutsCheck, NeverFollowsAFolderLink) {
    const char* appData = "C:\\Users\\u\\AppData\\Roaming";
    ShortcutsFixture fixture({{specialfolder::kAppData, appData}});
    fixture.files.SetShortcutTarget(In(appData, "old.lnk"), "C:\\Old\\old.exe");
    fixture.files.AddFolderLink(In(appData, "Application Data"), appData);
    fixture.files.SetShortcutTarget("C:\\Elsewhere\\other.lnk", "C:\\Old\\other.exe");
    fixture.files.AddFolderLink(In(appData, "Elsewhere"), "C:\\Elsewhere");
    EXPECT_THAT(fixture.Run(checktest::kShortcuts),
                ElementsAre(Row{kMissing, In(appData, "old.lnk"), "C:\\Old\\old.exe", kFile}));
}

TEST(ShortcutsCheck, AFolderPathEndingInABackslashGivesPlainShortcutPaths) {
    ShortcutsFixture fixture({{specialfolder::kDesktopDirectory, "C:\\Desk\\"}});
    fixture.files.SetShortcutTarget("C:\\Desk\\Sub\\old.lnk", "C:\\Old\\old.exe");
    EXPECT_THAT(fixture.Run(checktest::kShortcuts),
                ElementsAre(Row{kMissing, "C:\\Desk\\Sub\\old.lnk", "C:\\Old\\old.exe", kFile}));
}

TEST(ShortcutsCheck, StopsBetweenFolderEntries) {
    ShortcutsFixture fixture;
    fixture.files.SetShortcutTarget(In(kDesktop, "a.lnk"), "C:\\Old\\a.exe");
    fixture.files.SetShortcutTarget(In(kDesktop, "b.lnk"), "C:\\Old\\b.exe");
    fixture.sink.onIssue = [&](const ScanIssue&) { fixture.stop = true; };
    EXPECT_THROW(fixture.Run(checktest::kShortcuts), ScanStopped);
    EXPECT_EQ(fixture.Rows().size(), 1u);
}

}  // namespace
}  // namespace vantrel
