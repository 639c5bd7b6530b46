// The trees Windows writes and maintains itself: the Files and Folders walks judge nothing there.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/PathText.h"
#include "platform/TextCase.h"
#include "scan/CheckTable.h"
#include "tests/core/CheckTestFixture.h"
#include "tests/core/WindowsUserModel.h"

namespace vantrel {
namespace {

using checktest::CheckFixture;
using checktest::Row;
using ::testing::UnorderedElementsAre;

constexpr const char* kOtherUser = "S-1-5-21-7-7-7-1002";
constexpr std::string_view kUserClassesPrefix = "Software\\Classes\\";

std::vector<Row> RunFilesAndFolders(CheckFixture& fixture) {
    for (CheckId check : {checktest::kFilesAndFoldersLocalMachine,
                          checktest::kFilesAndFoldersCurrentUser, checktest::kFilesAndFoldersUsers})
        fixture.Run(check);
    return fixture.Rows();
}

TEST(WindowsOwnedTrees, NothingOfAWindowsTenUsersOwnStateIsReported) {
    CheckFixture fixture;
    fixture.Load(std::string(test::kWindowsOwnedEntries) + test::kJudgedNeighbours);
    const char* invalid = FindCheck(checktest::kFilesAndFoldersCurrentUser)->problemCaption;
    const RepairKind kValue = RepairKind::DeleteValueInKey;
    EXPECT_THAT(
        RunFilesAndFolders(fixture),
        UnorderedElementsAre(
            Row{invalid,
                "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User "
                "Shell Folders\\My Video",
                "C:\\Users\\u\\Videos-moved", kValue},
            Row{invalid,
                "HKEY_CURRENT_USER\\Software\\Classes\\ApplicationX.Doc\\Shell\\open\\command\\",
                "C:\\Old\\appx-like.exe", kValue},
            Row{invalid,
                "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet "
                "Settings\\5.0\\CacheVendor\\Path",
                "C:\\Old\\cache.exe", kValue}));
}

// Every tree of the list, in every hive it lies in, in the 32-bit view and in another user's
// hive (a classes tree in that user's classes hive).
TEST(WindowsOwnedTrees, EveryListedTreeIsLeftOutInEveryHiveAndView) {
    for (const WindowsOwnedTree& tree : WindowsOwnedTrees()) {
        SCOPED_TRACE(std::string(tree.path));
        std::string path(tree.path);
        if (path.back() == '*')
            path.back() = 'Z';
        CheckFixture fixture;
        const std::string missing = "C:\\Missing\\owned.exe";
        if (tree.hives != OwnerHives::User) {
            fixture.registry.SetString(RootKey::LocalMachine, path + "\\Sub", "V", missing);
            if (StartsWithIgnoreCase(path, "Software\\")) {
                const std::string twin = "Software\\Wow6432Node\\" + path.substr(9);
                fixture.registry.SetString(RootKey::LocalMachine, twin, "V", missing);
            }
        }
        if (tree.hives != OwnerHives::Machine) {
            fixture.registry.SetString(RootKey::CurrentUser, path + "\\Sub", "V", missing);
            const bool isClasses = StartsWithIgnoreCase(path, kUserClassesPrefix);
            const std::string inUsers =
                isClasses ? JoinKeyPath(std::string(kOtherUser) + "_Classes",
                                        std::string_view(path).substr(kUserClassesPrefix.size()))
                          : JoinKeyPath(kOtherUser, path);
            fixture.registry.SetString(RootKey::Users, inUsers, "V", missing);
        }
        EXPECT_THAT(RunFilesAndFolders(fixture), ::testing::IsEmpty());
    }
}

}  // namespace
}  // namespace vantrel
