// The shortcut files a repair deletes, kept beside its REGEDIT4 backup and put back by Restore.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/memory/MemoryBackupFile.h"
#include "platform/memory/MemoryFileSystem.h"
#include "platform/memory/MemoryRegistry.h"
#include "repair/RestoreCheck.h"
#include "repair/ShortcutCopies.h"
#include "tests/support/RepairSupport.h"

namespace vantrel {
namespace {

constexpr const char* kBackup = "C:\\b\\Backup20261206210507.reg";
constexpr const char* kCopies = "C:\\b\\Backup20261206210507";
constexpr const char* kIndex = "C:\\b\\Backup20261206210507\\shortcuts.txt";
constexpr const char* kTool = "C:\\Users\\Me\\Desktop\\Tool.lnk";
constexpr const char* kMenu = "C:\\Menu\\Deep Folder\\Old, \"odd\" name.LNK";
const std::string kToolBytes("L\0\0\0\x01\x14\x02\xE9\r\n", 10);

class ShortcutCopies : public ::testing::Test {
  protected:
    // Repairs a row per file; the deleter notes whether the file's copy and its line of the
    // index were on the disk when the file went.
    RepairTally Repair(const std::vector<const char*>& paths) {
        const FileDeleter deleteFile = [&](const std::string& path) {
            const std::string copy = std::string(kCopies) + "\\" + CopyOf(path);
            onDiskFirst_.push_back(!CopyOf(path).empty() &&
                                   files_.CommittedContents(kIndex) == files_.Contents(kIndex) &&
                                   files_.CommittedContents(copy) == files_.Contents(path));
            files_.Remove(path);
            return true;
        };
        std::vector<RepairRow> rows;
        for (const char* path : paths)
            rows.push_back(test::ShortcutRow(path));
        RepairTally tally;
        RepairRows(context_, rows, CopyingFileDeleter(files_, kBackup, deleteFile), tally);
        return tally;
    }

    // The copy's name the index gives the file; "" when it lists none.
    std::string CopyOf(const std::string& path) {
        const auto index = files_.Contents(kIndex);
        for (const ShortcutCopy& copy : ReadShortcutIndex(index.value_or(""), kIndex)) {
            if (copy.originalPath == path)
                return copy.copyName;
        }
        return {};
    }

    MemoryRegistry registry_;
    MemoryFileSystem disk_;
    MemoryBackupFile files_;
    RepairContext context_{registry_, disk_, files_, kBackup};
    std::vector<bool> onDiskFirst_;
};

// Every write and every commit fails in turn: a file goes only once its copy and its line of
// the index are on the disk; a failed copy keeps the file and its row, and leaves no copy that
// the index does not name.
TEST_F(ShortcutCopies, RepairDeletesAShortcutOnlyAfterItsCopyIsOnTheDisk) {
    constexpr size_t kSteps = 5;  // the REGEDIT4 header, then a copy and an index line each
    for (size_t fault = 0; fault < 2 * (kSteps + 1); ++fault) {
        SCOPED_TRACE("fault " + std::to_string(fault));
        files_ = MemoryBackupFile();
        onDiskFirst_.clear();
        files_.Create(kTool, kToolBytes);
        files_.Create(kMenu, "menu");
        if (fault <= kSteps)
            files_.FailWritesAfter(fault);
        else
            files_.FailCommitsAfter(fault - kSteps - 1);
        const RepairTally tally = Repair({kMenu, kTool});
        EXPECT_EQ(onDiskFirst_, std::vector<bool>(tally.removed.size(), true));
        size_t files = size_t{files_.Exists(kBackup)} + size_t{files_.Exists(kIndex)};
        for (const char* path : {kTool, kMenu}) {
            const bool copied = !CopyOf(path).empty();
            EXPECT_TRUE(files_.Exists(path) || copied) << path;
            files += size_t{copied} + size_t{files_.Exists(path)};
        }
        EXPECT_EQ(files_.FileCount(), files) << "a copy that the index does not name";
        EXPECT_EQ(tally.removed.size(),
                  size_t{!files_.Exists(kTool)} + size_t{!files_.Exists(kMenu)});
        EXPECT_EQ(tally.removed.size() + tally.notRemoved.size(), 2u);
    }
    EXPECT_EQ(files_.Contents(kIndex), ShortcutIndexText({{"1.lnk", kTool}, {"2.LNK", kMenu}}));
    EXPECT_EQ(files_.CommittedContents(kBackup), "REGEDIT4\r\n");
    EXPECT_TRUE(CheckBackupRestored(registry_, files_, kBackup).Complete());
}

// Restore puts each copy back, making its folder, and never overwrites a file there now (one
// of the same bytes counts as back); deleting the backup's copies leaves what else is there.
TEST_F(ShortcutCopies, RestorePutsCopiesBackBesideFilesThereNowAndDeleteTakesThemAway) {
    const char* kThere = "C:\\Users\\Me\\Desktop\\There.lnk";
    const char* kSame = "C:\\Users\\Me\\Desktop\\Same.lnk";
    for (const char* path : {kTool, kMenu, kThere, kSame})
        files_.Create(path, path == kTool ? kToolBytes : "same");
    ASSERT_EQ(Repair({kTool, kMenu, kThere, kSame}).removed.size(), 4u);
    files_.Create(kThere, "made since");
    files_.Create(kSame, "same");

    const ShortcutRestore restore = RestoreShortcutCopies(files_, kBackup);
    EXPECT_EQ(restore.restored, (std::vector<std::string>{kSame, kMenu, kTool}));
    EXPECT_EQ(restore.leftAlone, std::vector<std::string>{kThere});
    EXPECT_EQ(files_.Contents(kTool), kToolBytes);
    EXPECT_EQ(files_.Contents(kThere), "made since");
    EXPECT_TRUE(files_.FolderExists("C:\\Menu\\Deep Folder"));
    EXPECT_EQ(ShortcutRestoreNotice(restore),
              "These shortcuts were not put back, as another file of the same name is there "
              "now:\r\n" +
                  std::string(kThere));

    files_.Create(std::string(kCopies) + "\\notes.txt", "the user's");
    EXPECT_NE(DeleteShortcutCopies(files_, kBackup), std::nullopt) << "the folder is not empty";
    EXPECT_EQ(files_.FileCount(), 6u) << "the REGEDIT4 file, four shortcuts and the user's file";
    EXPECT_TRUE(files_.FolderExists(kCopies));
    EXPECT_TRUE(RestoreShortcutCopies(files_, kBackup).Complete()) << "no copies: nothing to do";
}

// The index is read back from a folder anyone may write to: a line that is not a copy's plain
// name and a full path is reported, never followed.
TEST_F(ShortcutCopies, AMalformedIndexIsReportedAndNothingIsPutBack) {
    const std::pair<std::string, size_t> badLines[] = {
        {"1.lnk\tC:\\a.lnk", 1},                              // no line end
        {"1.lnk C:\\a.lnk\r\n", 1},                           // no tab
        {"1.lnk\tC:\\a.lnk\r\n..\\1.lnk\tC:\\b.lnk\r\n", 2},  // out of the folder
        {"1.lnk\ta.lnk\r\n", 1},                              // a relative path
        {"1.lnk\tC:\\\r\n", 1},                               // a drive alone
        {"1.lnk\tC:\\a.lnk\n2.lnk\tC:\\b.lnk\r\n", 1},        // a bare line feed
    };
    for (const auto& [index, line] : badLines) {
        files_.CreateFolder(kCopies);
        files_.Create(std::string(kCopies) + "\\1.lnk", "x");
        files_.Create(kIndex, index);
        const std::string notice = ShortcutRestoreNotice(RestoreShortcutCopies(files_, kBackup));
        EXPECT_NE(notice.find("\": Line " + std::to_string(line) + " is not a copy's name"),
                  std::string::npos)
            << notice;
        EXPECT_NE(DeleteShortcutCopies(files_, kBackup), std::nullopt);
        EXPECT_EQ(files_.FileCount(), 2u) << index;
        files_ = MemoryBackupFile();
    }
    EXPECT_EQ(ReadShortcutIndex("1.lnk\tC:\\a.lnk\r\n12\t\\\\server\\s\\b\r\n", kIndex).size(), 2u);
}

}  // namespace
}  // namespace vantrel
