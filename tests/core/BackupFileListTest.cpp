// The restore dialog's rules for its rows: which files are listed, in what order, and the
// size column.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/memory/MemoryFileSystem.h"
#include "repair/BackupFileList.h"

namespace vantrel {
namespace {

TEST(FormatSizeKB, RoundsUpAndGroupsDigits) {
    struct Case {
        uint64_t bytes;
        const char* text;
    };
    const Case cases[] = {
        {0, "0 KB"},
        {1, "1 KB"},
        {1024, "1 KB"},
        {1025, "2 KB"},
        {1500, "2 KB"},
        {1048576, "1,024 KB"},
        {1234567890, "1,205,633 KB"},
        {999 * 1024, "999 KB"},
        {1000 * 1024, "1,000 KB"},
        {999999ull * 1024, "999,999 KB"},
        {1000000ull * 1024, "1,000,000 KB"},
        {UINT64_MAX, "18,014,398,509,481,984 KB"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatSizeKB(c.bytes), c.text) << c.bytes << " bytes";
}

TEST(BackupFileEntry, OnlyFilesEndingInDotReg) {
    struct Case {
        const char* name;
        bool directory;
        bool listed;
    };
    const Case cases[] = {
        {"a.reg", false, true},  {"B.REG", false, true},           {"Mixed.Reg", false, true},
        {".reg", false, true},   {"backup.2026.reg", false, true}, {"a.reg.txt", false, false},
        {"reg", false, false},   {"areg", false, false},           {"a.regx", false, false},
        {"c.txt", false, false}, {"d.reg", true, false},
    };
    for (const Case& c : cases) {
        const FolderEntry entry{c.name, c.directory ? kAttributeDirectory : 0u};
        EXPECT_EQ(IsBackupFileEntry(entry), c.listed) << c.name;
    }
}

std::vector<std::string> Names(const std::vector<FolderEntry>& entries) {
    std::vector<std::string> names;
    for (const FolderEntry& entry : entries)
        names.push_back(entry.name);
    return names;
}

TEST(ListBackupFiles, RegFilesOfTheFolderNewestBackupFirst) {
    MemoryFileSystem files;
    files.AddDrive('c', drivetype::kFixed);
    for (const char* name : {"a.reg", "B.REG", "c.txt", "a.reg.txt", "reg"})
        files.AddFile(std::string("C:\\backup\\") + name);
    files.AddDirectory("C:\\backup\\d.reg");
    files.AddFile("C:\\backup\\d.reg\\inner.reg");
    const auto listed = ListBackupFiles(files, "C:\\backup");
    ASSERT_TRUE(listed.has_value());
    EXPECT_EQ(Names(*listed), (std::vector<std::string>{"B.REG", "a.reg"}));

    MemoryFileSystem repairs;
    repairs.AddDrive('c', drivetype::kFixed);
    for (const char* name : {"Backup20261206210507.reg", "Backup20270101000000.reg",
                             "backup20261206210607.reg", "Backup20261206210508.reg"})
        repairs.AddFile(std::string("C:\\backup\\") + name);
    EXPECT_EQ(Names(*ListBackupFiles(repairs, "C:\\backup\\")),
              (std::vector<std::string>{"Backup20270101000000.reg", "backup20261206210607.reg",
                                        "Backup20261206210508.reg", "Backup20261206210507.reg"}));
}

TEST(ListBackupFiles, AFolderThatDoesNotExistListsNothing) {
    MemoryFileSystem files;
    files.AddDrive('c', drivetype::kFixed);
    files.AddFile("C:\\file.reg");
    EXPECT_FALSE(ListBackupFiles(files, "C:\\missing").has_value());
    EXPECT_FALSE(ListBackupFiles(files, "C:\\file.reg").has_value());
    EXPECT_FALSE(ListBackupFiles(files, "").has_value());
    files.AddDirectory("C:\\empty");
    const auto empty = ListBackupFiles(files, "C:\\empty");
    ASSERT_TRUE(empty.has_value());
    EXPECT_TRUE(empty->empty());
}

TEST(CompareBackupNames, DescendingWithoutRegardToCase) {
    EXPECT_LT(CompareBackupNames("b.reg", "A.reg"), 0);
    EXPECT_GT(CompareBackupNames("A.reg", "b.reg"), 0);
    EXPECT_EQ(CompareBackupNames("Same.REG", "same.reg"), 0);
    // Letters are folded to capitals: "_" lies after "A" to "Z".
    EXPECT_LT(CompareBackupNames("_x.reg", "ax.reg"), 0);
}

TEST(BackupFilePath, FolderBackslashAndName) {
    EXPECT_EQ(BackupFilePath("C:\\backup", "a.reg"), "C:\\backup\\a.reg");
    EXPECT_EQ(BackupFilePath("C:\\backup\\", "a.reg"), "C:\\backup\\a.reg");
    EXPECT_EQ(BackupFilePath("C:\\", "a.reg"), "C:\\a.reg");
}

}  // namespace
}  // namespace vantrel
