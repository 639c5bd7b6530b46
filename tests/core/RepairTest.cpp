#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "platform/memory/MemoryBackupFile.h"
#include "platform/memory/MemoryFileSystem.h"
#include "platform/memory/MemoryRegistry.h"
#include "platform/memory/ScriptedPrompts.h"
#include "repair/Repair.h"
#include "tests/core/LoadRegText.h"

namespace vantrel {

using test::LoadRegText;
namespace {

constexpr RootKey kUser = RootKey::CurrentUser;
constexpr RootKey kMachine = RootKey::LocalMachine;
constexpr const char* kFile = "C:\\Backup\\Backup20261206210507.reg";

TEST(BackupFileName, FolderBackupTimestampReg) {
    struct Case {
        const char* name;
        const char* folder;
        BackupTime time;
        const char* fileName;
    };
    const Case cases[] = {
        {"evening", "C:\\Backup", {2026, 12, 6, 21, 5, 7}, "C:\\Backup\\Backup20261206210507.reg"},
        {"folder ending in a backslash",
         "C:\\Backup\\",
         {2026, 12, 6, 21, 5, 7},
         "C:\\Backup\\Backup20261206210507.reg"},
        {"midnight on new year", "D:\\b", {2027, 1, 1, 0, 0, 0}, "D:\\b\\Backup20270101000000.reg"},
        {"two-digit fields",
         "D:\\b",
         {2026, 10, 31, 23, 59, 58},
         "D:\\b\\Backup20261031235958.reg"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BackupFileName(c.folder, c.time), c.fileName) << c.name;
    EXPECT_EQ(TwoDigits(0), "00");
    EXPECT_EQ(TwoDigits(9), "09");
    EXPECT_EQ(TwoDigits(10), "10");
}

RepairRow Ticked(const char* keyText, const char* valueText, RepairKind kind) {
    return RepairRow{ScanIssue{"Problem", keyText, valueText, kind}, true};
}

RepairRow Unticked(const char* keyText, const char* valueText, RepairKind kind) {
    return RepairRow{ScanIssue{"Problem", keyText, valueText, kind}, false};
}

class RepairTest : public ::testing::Test {
  protected:
    RepairTally Run(const std::vector<RepairRow>& rows) {
        RepairTally tally;
        RepairRows(context_, rows, deleteFile_, tally);
        return tally;
    }
    std::optional<std::string> Backup() const { return files_.Contents(kFile); }

    MemoryRegistry registry_;
    MemoryFileSystem fileSystem_;
    MemoryBackupFile files_;
    RepairContext context_{registry_, fileSystem_, files_, kFile};
    std::vector<std::string> deletedFiles_;
    std::string undeletableFile_;
    FileDeleter deleteFile_ = [this](const std::string& path) {
        if (path == undeletableFile_)
            return false;
        deletedFiles_.push_back(path);
        return true;
    };
};

using Indexes = std::vector<size_t>;

TEST_F(RepairTest, NothingTickedWritesNothingAndRemovesNothing) {
    registry_.AddKey(kUser, "Software\\A");
    const RepairTally tally =
        Run({Unticked("HKEY_CURRENT_USER\\Software\\A", "", RepairKind::DeleteKey)});
    EXPECT_TRUE(tally.removed.empty());
    EXPECT_TRUE(tally.notRemoved.empty());
    EXPECT_EQ(files_.FileCount(), 0u);
    EXPECT_TRUE(registry_.HasKey(kUser, "Software\\A"));
}

TEST_F(RepairTest, RowsWithoutBackslashStay) {
    const RepairTally tally = Run({Ticked("HKEY_CURRENT_USER", "x", RepairKind::DeleteKey),
                                   Ticked("gone.lnk", "", RepairKind::DeleteNamedFile)});
    EXPECT_TRUE(tally.removed.empty());
    EXPECT_TRUE(deletedFiles_.empty());
}

TEST_F(RepairTest, EachKindFromTheBottomUp) {
    registry_.SetString(kUser, "Software\\K0\\Sub", "a", "1");
    registry_.SetString(kUser, "Software\\K1", "Path", "c:\\gone.exe");
    registry_.SetString(kUser, "Software\\K1", "Keep", "x");
    registry_.SetString(kMachine, "SOFTWARE\\K2", "c:\\a.dll", "1");
    registry_.AddKey(kUser, "Software\\K3\\Child");
    registry_.SetString(kUser, "Software\\K5", "", "sound.wav");
    registry_.SetString(kUser, "Software\\K5", "Other", "stays");

    const RepairTally tally = Run({
        Ticked("HKEY_CURRENT_USER\\Software\\K0", "", RepairKind::DeleteKey),
        Ticked("HKEY_CURRENT_USER\\Software\\K1\\Path", "c:\\gone.exe",
               RepairKind::DeleteValueInKey),
        Ticked("HKEY_LOCAL_MACHINE\\SOFTWARE\\K2", "c:\\a.dll", RepairKind::DeleteNamedValue),
        Ticked("hkey_current_user\\Software\\K3", "Child", RepairKind::DeleteSubkey),
        Ticked("C:\\Links\\gone.lnk", "", RepairKind::DeleteNamedFile),
        Ticked("HKEY_CURRENT_USER\\Software\\K5", "sound.wav", RepairKind::DeleteDefaultValue),
    });

    EXPECT_EQ(tally.removed, (Indexes{5, 4, 3, 2, 1, 0}));
    EXPECT_TRUE(tally.notRemoved.empty());
    EXPECT_FALSE(registry_.HasKey(kUser, "Software\\K0"));
    EXPECT_FALSE(registry_.HasValue(kUser, "Software\\K1", "Path"));
    EXPECT_TRUE(registry_.HasValue(kUser, "Software\\K1", "Keep"));
    EXPECT_FALSE(registry_.HasValue(kMachine, "SOFTWARE\\K2", "c:\\a.dll"));
    EXPECT_FALSE(registry_.HasKey(kUser, "Software\\K3\\Child"));
    EXPECT_TRUE(registry_.HasKey(kUser, "Software\\K3"));
    // Kind 5 deletes the default value only.
    EXPECT_FALSE(registry_.HasValue(kUser, "Software\\K5", ""));
    EXPECT_TRUE(registry_.HasValue(kUser, "Software\\K5", "Other"));
    EXPECT_EQ(deletedFiles_, (std::vector<std::string>{"C:\\Links\\gone.lnk"}));
    // Exports in the order handled, the file row without one.
    EXPECT_EQ(Backup(),
              "REGEDIT4\r\n"
              "\r\n[HKEY_CURRENT_USER\\Software\\K5]\r\n@=\"sound.wav\"\r\n"
              "\r\n[HKEY_CURRENT_USER\\Software\\K3\\Child]\r\n"
              "\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\K2]\r\n\"c:\\\\a.dll\"=\"1\"\r\n"
              "\r\n[HKEY_CURRENT_USER\\Software\\K1]\r\n\"Path\"=\"c:\\\\gone.exe\"\r\n"
              "\r\n[HKEY_CURRENT_USER\\Software\\K0]\r\n"
              "\r\n[HKEY_CURRENT_USER\\Software\\K0\\Sub]\r\n\"a\"=\"1\"\r\n");
}

TEST_F(RepairTest, TwoRowsForOneKey) {
    registry_.SetString(kUser, "Software\\A", "v", "1");
    const RepairTally tally =
        Run({Ticked("HKEY_CURRENT_USER\\Software\\A", "", RepairKind::DeleteKey),
             Ticked("HKEY_CURRENT_USER\\Software", "A", RepairKind::DeleteSubkey)});
    EXPECT_EQ(tally.removed, (Indexes{1, 0}));
    EXPECT_FALSE(registry_.HasKey(kUser, "Software\\A"));
    EXPECT_EQ(Backup(), "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\A]\r\n\"v\"=\"1\"\r\n");
}

// Write-ahead: each batch of rows is exported, committed once, then deleted in row order.
TEST_F(RepairTest, CommitsOncePerBatchBeforeItsDeletions) {
    std::vector<RepairRow> rows;
    for (size_t i = 0; i < 2 * kRowsPerCommit + 2; ++i) {
        registry_.SetDword(kUser, "Software\\Many", "v" + std::to_string(i), 1);
        rows.push_back(RepairRow{ScanIssue{"Problem", "HKEY_CURRENT_USER\\Software\\Many",
                                           "v" + std::to_string(i), RepairKind::DeleteNamedValue},
                                 true});
    }
    std::vector<size_t> commitsAtDeletion;
    registry_.SetCallObserver([&](RegistryCall call) {
        if (call == RegistryCall::DeleteValue)
            commitsAtDeletion.push_back(files_.CommitCount());
    });
    const RepairTally tally = Run(rows);
    registry_.SetCallObserver(nullptr);
    EXPECT_EQ(files_.CommitCount(), 3u);
    ASSERT_EQ(commitsAtDeletion.size(), rows.size());
    EXPECT_EQ(commitsAtDeletion.front(), 1u) << "the first deletion waits for the first commit";
    EXPECT_EQ(commitsAtDeletion[kRowsPerCommit], 2u);
    EXPECT_EQ(commitsAtDeletion.back(), 3u);
    ASSERT_EQ(tally.removed.size(), rows.size());
    EXPECT_TRUE(std::is_sorted(tally.removed.rbegin(), tally.removed.rend()))
        << "rows are handled from the last to the first";
    EXPECT_EQ(files_.CommittedContents(kFile), Backup());
}

TEST_F(RepairTest, ABatchEndsOnceItsBlocksPassTheirSize) {
    // Each value's line takes three characters per byte: a third of the limit each.
    const std::vector<uint8_t> bytes(kBlockBytesPerCommit / 9 + 1, 0xAB);
    std::vector<RepairRow> rows;
    for (int i = 0; i < 5; ++i) {
        const std::string name = "v" + std::to_string(i);
        registry_.SetValue(kUser, "Software\\Big", name, regtype::kBinary, bytes);
        rows.push_back(
            Ticked("HKEY_CURRENT_USER\\Software\\Big", name.c_str(), RepairKind::DeleteNamedValue));
    }
    const RepairTally tally = Run(rows);
    EXPECT_EQ(tally.removed.size(), 5u);
    EXPECT_EQ(files_.CommitCount(), 2u) << "three rows pass the limit, the other two follow";
}

// Another view of the same key (HKEY_CLASSES_ROOT of HKEY_LOCAL_MACHINE\Software\Classes)
// can take an entry between its export and its deletion: the entry is gone, not refused.
TEST_F(RepairTest, ARefusedDeletionOfAnEntryThatIsGoneRemovesTheRow) {
    registry_.SetString(kUser, "Software\\A", "v", "1");
    registry_.AddKey(kUser, "Software\\B");
    registry_.SetCallObserver([&](RegistryCall call) {
        if (call == RegistryCall::DeleteValue)
            registry_.RemoveValue(kUser, "Software\\A", "v");
        if (call == RegistryCall::DeleteKey)
            registry_.RemoveKey(kUser, "Software\\B");
    });
    const RepairTally tally =
        Run({Ticked("HKEY_CURRENT_USER\\Software\\A", "v", RepairKind::DeleteNamedValue),
             Ticked("HKEY_CURRENT_USER\\Software\\B", "", RepairKind::DeleteKey)});
    registry_.SetCallObserver(nullptr);
    EXPECT_EQ(tally.removed, (Indexes{1, 0}));
    EXPECT_TRUE(tally.notRemoved.empty());
}

TEST_F(RepairTest, ACommitThatFailsDeletesNothingOfItsBatch) {
    registry_.SetString(kUser, "Software\\A", "v", "1");
    registry_.SetString(kUser, "Software\\B", "v", "2");
    files_.FailCommitsAfter(0);
    RepairTally tally;
    EXPECT_THROW(RepairRows(context_,
                            {Ticked("HKEY_CURRENT_USER\\Software\\A", "", RepairKind::DeleteKey),
                             Ticked("HKEY_CURRENT_USER\\Software\\B", "", RepairKind::DeleteKey)},
                            deleteFile_, tally),
                 BackupFileError);
    EXPECT_TRUE(tally.removed.empty());
    EXPECT_TRUE(tally.notRemoved.empty());
    EXPECT_TRUE(registry_.HasKey(kUser, "Software\\A"));
    EXPECT_TRUE(registry_.HasKey(kUser, "Software\\B"));
}

TEST_F(RepairTest, GoneEntriesAndUnknownRootsAreRemovedWithoutWriting) {
    registry_.SetString(kUser, "Software\\A", "other", "1");
    const RepairTally tally = Run({
        Ticked("HKEY_CURRENT_USER\\Software\\A", "deleted since the scan",
               RepairKind::DeleteNamedValue),
        Ticked("HKEY_CURRENT_USER\\Software\\Gone", "", RepairKind::DeleteKey),
        Ticked("HKEY_CURRENT_USER\\Software\\Gone", "", RepairKind::DeleteDefaultValue),
        Ticked("HKCU\\Software\\A", "", RepairKind::DeleteKey),
    });
    EXPECT_EQ(tally.removed, (Indexes{3, 2, 1, 0}));
    EXPECT_EQ(files_.FileCount(), 0u);
    EXPECT_TRUE(registry_.HasKey(kUser, "Software\\A"));
}

TEST_F(RepairTest, RefusedDeletionStaysAndIsCounted) {
    registry_.SetString(kUser, "Software\\Locked", "v", "1");
    registry_.SetString(kUser, "Software\\Free", "v", "2");
    registry_.RefuseDelete(kUser, "Software\\Locked");
    undeletableFile_ = "C:\\Links\\in use.lnk";
    const RepairTally tally = Run({
        Ticked("HKEY_CURRENT_USER\\Software\\Locked", "", RepairKind::DeleteKey),
        Ticked("HKEY_CURRENT_USER\\Software\\Locked\\v", "", RepairKind::DeleteValueInKey),
        Ticked("HKEY_CURRENT_USER\\Software\\Free", "", RepairKind::DeleteKey),
        Ticked("C:\\Links\\in use.lnk", "", RepairKind::DeleteNamedFile),
    });
    EXPECT_EQ(tally.removed, (Indexes{2}));
    EXPECT_EQ(tally.notRemoved, (Indexes{3, 1, 0}));
    EXPECT_EQ(NotRemovedNotice(tally.notRemoved.size()), "3 entries could not be removed");
    EXPECT_TRUE(registry_.HasValue(kUser, "Software\\Locked", "v"));
    // The refused deletions keep their exports in the file.
    EXPECT_NE(Backup().value_or("").find("[HKEY_CURRENT_USER\\Software\\Locked]"),
              std::string::npos);
}

// A key whose rights allow reading only is there all the same: each of its rows is a refusal
// and stays, never an entry taken for gone. Its parent cannot be deleted either.
TEST_F(RepairTest, RowsOfAKeyThatRefusesWriteAccessStayAsRefused) {
    registry_.SetString(kUser, "Software\\ReadOnly", "", "default");
    registry_.SetString(kUser, "Software\\ReadOnly", "v", "1");
    registry_.AddKey(kUser, "Software\\ReadOnly\\Sub");
    registry_.RefuseWriteAccess(kUser, "Software\\ReadOnly");
    registry_.AddKey(kUser, "Software\\Holder\\ReadOnly");
    registry_.RefuseWriteAccess(kUser, "Software\\Holder\\ReadOnly");
    const RepairTally tally = Run({
        Ticked("HKEY_CURRENT_USER\\Software\\ReadOnly", "", RepairKind::DeleteKey),
        Ticked("HKEY_CURRENT_USER\\Software\\ReadOnly\\v", "1", RepairKind::DeleteValueInKey),
        Ticked("HKEY_CURRENT_USER\\Software\\ReadOnly", "v", RepairKind::DeleteNamedValue),
        Ticked("HKEY_CURRENT_USER\\Software\\ReadOnly", "default", RepairKind::DeleteDefaultValue),
        Ticked("HKEY_CURRENT_USER\\Software", "ReadOnly", RepairKind::DeleteSubkey),
        Ticked("HKEY_CURRENT_USER\\Software\\Holder", "", RepairKind::DeleteKey),
    });
    EXPECT_TRUE(tally.removed.empty());
    EXPECT_EQ(tally.notRemoved, (Indexes{5, 4, 3, 2, 1, 0}));
    EXPECT_TRUE(registry_.HasValue(kUser, "Software\\ReadOnly", "v"));
    EXPECT_TRUE(registry_.HasValue(kUser, "Software\\ReadOnly", ""));
    EXPECT_TRUE(registry_.HasKey(kUser, "Software\\ReadOnly\\Sub"));
    EXPECT_TRUE(registry_.HasKey(kUser, "Software\\Holder\\ReadOnly"));
}

TEST_F(RepairTest, RefusedExportDeletesNothingAndStays) {
    registry_.SetString(kUser, "Software\\Odd", "v", "1");
    registry_.MarkInexactName(kUser, "Software\\Odd\\Sub", std::nullopt);
    registry_.SetString(kUser, "Software\\Hidden", "v", "1");
    registry_.RefuseOpen(kUser, "Software\\Hidden\\Locked");
    registry_.SetString(kUser, "Software\\Text", "v", "1");
    registry_.MarkInexactText(kUser, "Software\\Text", "v");
    const RepairTally tally = Run({
        Ticked("HKEY_CURRENT_USER\\Software\\Odd", "", RepairKind::DeleteKey),
        Ticked("HKEY_CURRENT_USER\\Software\\Hidden", "", RepairKind::DeleteKey),
        Ticked("HKEY_CURRENT_USER\\Software\\Text", "v", RepairKind::DeleteNamedValue),
    });
    EXPECT_TRUE(tally.removed.empty());
    EXPECT_EQ(tally.notRemoved, (Indexes{2, 1, 0}));
    EXPECT_TRUE(registry_.HasKey(kUser, "Software\\Odd\\Sub"));
    EXPECT_TRUE(registry_.HasKey(kUser, "Software\\Hidden"));
    EXPECT_TRUE(registry_.HasValue(kUser, "Software\\Text", "v"));
    EXPECT_EQ(files_.FileCount(), 0u);
}

TEST_F(RepairTest, RootKeyItselfIsNeverDeleted) {
    registry_.SetString(kUser, "Software", "v", "1");
    const RepairTally tally = Run({Ticked("HKEY_CURRENT_USER\\", "", RepairKind::DeleteKey)});
    EXPECT_EQ(tally.notRemoved, (Indexes{0}));
    EXPECT_TRUE(registry_.HasKey(kUser, "Software"));
    EXPECT_EQ(files_.FileCount(), 0u);
}

// Containers Windows creates and the lists the checks read stay, empty or not: their rows count
// as not removed, and nothing of them is written or deleted.
TEST_F(RepairTest, ProtectedKeysAreNeverDeleted) {
    registry_.AddKey(RootKey::LocalMachine, "Software\\Policies");
    registry_.AddKey(RootKey::LocalMachine,
                     "Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run");
    registry_.AddKey(kUser, "Software\\Old");
    const RepairTally tally = Run({
        Ticked("HKEY_LOCAL_MACHINE\\Software", "Policies", RepairKind::DeleteSubkey),
        Ticked("HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run",
               "", RepairKind::DeleteKey),
        Ticked("HKEY_CURRENT_USER\\Software", "Old", RepairKind::DeleteSubkey),
    });
    EXPECT_EQ(tally.removed, (Indexes{2}));
    EXPECT_EQ(tally.notRemoved, (Indexes{1, 0}));
    EXPECT_TRUE(registry_.HasKey(RootKey::LocalMachine, "Software\\Policies"));
    EXPECT_TRUE(registry_.HasKey(RootKey::LocalMachine,
                                 "Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run"));
    EXPECT_EQ(Backup().value_or("").find("Policies"), std::string::npos);
    EXPECT_EQ(Backup().value_or("").find("Run"), std::string::npos);
}

TEST_F(RepairTest, BackupErrorEndsTheLoopLeavingTheRestAsItWas) {
    registry_.SetString(kUser, "Software\\A", "v", "1");
    registry_.SetString(kUser, "Software\\B", "v", "2");
    registry_.SetString(kUser, "Software\\C", "v", "3");
    // A batch of one row each: the second row's write fails.
    context_.rowsPerCommit = 1;
    files_.FailWritesAfter(1);
    const std::vector<RepairRow> rows = {
        Ticked("HKEY_CURRENT_USER\\Software\\A", "", RepairKind::DeleteKey),
        Ticked("HKEY_CURRENT_USER\\Software\\B", "", RepairKind::DeleteKey),
        Ticked("HKEY_CURRENT_USER\\Software\\C", "", RepairKind::DeleteKey),
    };
    RepairTally tally;
    EXPECT_THROW(RepairRows(context_, rows, deleteFile_, tally), BackupFileError);
    EXPECT_EQ(tally.removed, (Indexes{2}));
    EXPECT_TRUE(tally.notRemoved.empty());
    EXPECT_FALSE(registry_.HasKey(kUser, "Software\\C"));
    EXPECT_TRUE(registry_.HasKey(kUser, "Software\\B"));
    EXPECT_TRUE(registry_.HasKey(kUser, "Software\\A"));
    EXPECT_EQ(Backup(), "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\C]\r\n\"v\"=\"3\"\r\n");
}

TEST_F(RepairTest, BackupFileThatCannotBeCreatedDeletesNothing) {
    registry_.SetString(kUser, "Software\\A", "v", "1");
    files_.RefuseCreate();
    RepairTally tally;
    EXPECT_THROW(
        RepairRows(context_,
                   {Ticked("HKEY_CURRENT_USER\\Software\\A", "v", RepairKind::DeleteNamedValue)},
                   deleteFile_, tally),
        BackupFileError);
    EXPECT_TRUE(tally.removed.empty());
    EXPECT_TRUE(registry_.HasValue(kUser, "Software\\A", "v"));
}

TEST_F(RepairTest, UnreadableValueEndsTheLoopAndDeletesNothing) {
    registry_.SetString(kUser, "Software\\A", "v", "1");
    registry_.FailRead(kUser, "Software\\A", "v");
    RepairTally tally;
    EXPECT_THROW(
        RepairRows(context_, {Ticked("HKEY_CURRENT_USER\\Software\\A", "", RepairKind::DeleteKey)},
                   deleteFile_, tally),
        RegistryError);
    EXPECT_TRUE(registry_.HasKey(kUser, "Software\\A"));
    EXPECT_EQ(files_.FileCount(), 0u);
}

TEST_F(RepairTest, TwoCommandsInOneSecondShareTheFile) {
    registry_.SetString(kUser, "Software\\A", "v", "1");
    registry_.SetDword(kUser, "Software\\B", "n", 2);
    Run({Ticked("HKEY_CURRENT_USER\\Software\\A", "v", RepairKind::DeleteNamedValue)});
    Run({Ticked("HKEY_CURRENT_USER\\Software\\B\\n", "", RepairKind::DeleteValueInKey)});
    EXPECT_EQ(Backup(),
              "REGEDIT4\r\n"
              "\r\n[HKEY_CURRENT_USER\\Software\\A]\r\n\"v\"=\"1\"\r\n"
              "\r\n[HKEY_CURRENT_USER\\Software\\B]\r\n\"n\"=dword:00000002\r\n");
}

// The backup brings back exactly what the repair deleted.
TEST_F(RepairTest, BackupRestoresTheDeletedSubtree) {
    LoadRegText(registry_,
                "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\App]\r\n@=\"c:\\\\app.exe\"\r\n"
                "\"Size\"=dword:00000010\r\n[HKEY_CURRENT_USER\\Software\\App\\A\\B]\r\n"
                "\"List\"=hex(7):61,00,00\r\n\"Blob\"=hex:01,02\r\n");
    Run({Ticked("HKEY_CURRENT_USER\\Software\\App", "", RepairKind::DeleteKey)});
    ASSERT_FALSE(registry_.HasKey(kUser, "Software\\App"));

    LoadRegText(registry_, Backup().value_or(""));
    EXPECT_EQ(registry_.GetValue(kUser, "Software\\App", "")->data,
              (std::vector<uint8_t>{'c', ':', '\\', 'a', 'p', 'p', '.', 'e', 'x', 'e', 0}));
    EXPECT_EQ(registry_.GetValue(kUser, "Software\\App", "Size")->type, regtype::kDword);
    const auto list = registry_.GetValue(kUser, "Software\\App\\A\\B", "List");
    ASSERT_TRUE(list.has_value());
    EXPECT_EQ(list->type, regtype::kMultiString);
    EXPECT_EQ(list->data, (std::vector<uint8_t>{'a', 0, 0}));
    EXPECT_EQ(registry_.GetValue(kUser, "Software\\App\\A\\B", "Blob")->data,
              (std::vector<uint8_t>{1, 2}));
}

TEST(EnsureBackupFolder, AsksCreatesOrRefuses) {
    const std::string folder = "C:\\Vantrel\\backup";
    const std::string question =
        "C:\\Vantrel\\backup,The backup directory does not exist.\r\ncreates a new directory?";
    struct Case {
        const char* name;
        bool exists;
        bool answer;
        bool creationWorks;
        bool proceeds;
        size_t questions;
        size_t creations;
        bool raises;
    };
    const Case cases[] = {
        {"folder exists", true, false, false, true, 0, 0, false},
        {"user says no", false, false, true, false, 1, 0, false},
        {"user says yes", false, true, true, true, 1, 1, false},
        {"creation fails", false, true, false, false, 1, 1, true},
    };
    for (const auto& c : cases) {
        MemoryFileSystem fileSystem;
        fileSystem.AddDrive('c', drivetype::kFixed);
        if (c.exists)
            fileSystem.AddDirectory(folder);
        ScriptedPrompts prompts;
        prompts.AnswerQuestions(c.answer);
        std::vector<std::string> created;
        const FolderCreator create = [&](const std::string& path) {
            created.push_back(path);
            return c.creationWorks;
        };
        if (c.raises) {
            try {
                EnsureBackupFolder(folder, fileSystem, prompts, create);
                ADD_FAILURE() << c.name << ": expected RepairCommandError";
            } catch (const RepairCommandError& error) {
                EXPECT_EQ(std::string(error.what()), "Cannot create " + folder) << c.name;
            }
        } else {
            EXPECT_EQ(EnsureBackupFolder(folder, fileSystem, prompts, create), c.proceeds)
                << c.name;
        }
        ASSERT_EQ(prompts.Questions().size(), c.questions) << c.name;
        if (c.questions > 0) {
            EXPECT_EQ(prompts.Questions()[0], question) << c.name;
        }
        EXPECT_TRUE(prompts.Notices().empty() && prompts.Errors().empty()) << c.name;
        EXPECT_EQ(created.size(), c.creations) << c.name;
    }
}

}  // namespace
}  // namespace vantrel
