// Backup files on Wine's real disk: exact bytes, never an overwrite, errors that name the file
// and carry the system's reason.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/win32/Win32BackupFile.h"
#include "tests/win32/ScratchArea.h"

namespace vantrel {
namespace {

using test::ScratchFolder;

// The error's message, or "" when nothing was raised.
template <typename Action>
std::string ErrorOf(Action action) {
    try {
        action();
    } catch (const BackupFileError& error) {
        return error.what();
    }
    return {};
}

class Win32BackupFileTest : public ::testing::Test {
  protected:
    ScratchFolder folder_;
    Win32BackupFile files_;
};

TEST_F(Win32BackupFileTest, CreateThenAppendKeepTheBytesExactly) {
    const std::string path = folder_.Path("Backup.reg");
    const std::string header("REGEDIT4\r\n\xE9\x81\x00\n", 14);
    EXPECT_FALSE(files_.Exists(path));
    files_.Create(path, header);
    EXPECT_TRUE(files_.Exists(path));
    files_.Append(path, "\r\n[HKEY_CURRENT_USER\\A]\r\n");
    files_.Append(path, "");
    EXPECT_EQ(test::ReadFile(path), header + "\r\n[HKEY_CURRENT_USER\\A]\r\n");
}

// A commit flushes what the closed handles wrote, and later appends still go to the end.
TEST_F(Win32BackupFileTest, CommitKeepsTheTextAndAppendsGoOnAtTheEnd) {
    const std::string path = folder_.Path("Backup.reg");
    files_.Create(path, "REGEDIT4\r\n");
    files_.Commit(path);
    files_.Append(path, "\r\n[HKEY_CURRENT_USER\\A]\r\n");
    files_.Commit(path);
    files_.Commit(path);
    files_.Append(path, "\r\n[HKEY_CURRENT_USER\\B]\r\n");
    EXPECT_EQ(test::ReadFile(path),
              "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n\r\n[HKEY_CURRENT_USER\\B]\r\n");
}

TEST_F(Win32BackupFileTest, FailuresNameTheFileAndTheSystemReason) {
    folder_.CreateFile(L"existing.reg");
    folder_.CreateFolder(L"a folder");
    enum class Action { Create, Append, Commit, CreateFolder, Remove, RemoveFolder };
    struct Case {
        const char* name;
        std::string path;
        Action action;
        std::string messageStart;
    };
    const std::string existing = folder_.Path("existing.reg");
    const std::string missingFolder = folder_.Path("no such folder\\Backup.reg");
    const std::string missingFile = folder_.Path("missing.reg");
    const std::string aFolder = folder_.Path("a folder");
    const Case cases[] = {
        {"create over an existing file", existing, Action::Create,
         "Cannot create \"" + existing + "\": "},
        {"create in a missing folder", missingFolder, Action::Create,
         "Cannot create \"" + missingFolder + "\": "},
        {"create where a folder is", aFolder, Action::Create,
         "Cannot create \"" + aFolder + "\": "},
        {"append to a missing file", missingFile, Action::Append,
         "Cannot open \"" + missingFile + "\": "},
        {"append to a folder", aFolder, Action::Append, "Cannot open \"" + aFolder + "\": "},
        {"commit a missing file", missingFile, Action::Commit,
         "Cannot open \"" + missingFile + "\": "},
        {"folder where a file is", existing, Action::CreateFolder,
         "Cannot create \"" + existing + "\": "},
        {"remove a folder as a file", aFolder, Action::Remove,
         "Cannot delete \"" + aFolder + "\": "},
        {"remove a folder that is not empty", folder_.Path(), Action::RemoveFolder,
         "Cannot delete \"" + folder_.Path() + "\": "},
    };
    for (const auto& c : cases) {
        const std::string message = ErrorOf([&] {
            if (c.action == Action::Create)
                files_.Create(c.path, "REGEDIT4\r\n");
            else if (c.action == Action::Append)
                files_.Append(c.path, "x");
            else if (c.action == Action::Commit)
                files_.Commit(c.path);
            else if (c.action == Action::CreateFolder)
                files_.CreateFolder(c.path);
            else if (c.action == Action::Remove)
                files_.Remove(c.path);
            else
                files_.RemoveFolder(c.path);
        });
        ASSERT_GT(message.size(), c.messageStart.size()) << c.name << ": " << message;
        EXPECT_EQ(message.substr(0, c.messageStart.size()), c.messageStart) << c.name;
        EXPECT_NE(message.back(), '\n') << c.name << ": the reason ends without its line break";
        EXPECT_NE(message.back(), '\r') << c.name;
    }
    EXPECT_EQ(test::ReadFile(existing), "") << "the existing file is not overwritten";
    EXPECT_FALSE(files_.Exists(missingFile)) << "append makes no file";
    EXPECT_FALSE(files_.Exists(aFolder)) << "a folder is no file";
}

}  // namespace
}  // namespace vantrel
