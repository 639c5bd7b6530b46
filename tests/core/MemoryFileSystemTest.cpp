#include <gtest/gtest.h>

#include "platform/memory/MemoryFileSystem.h"

namespace vantrel {
namespace {

class MemoryFileSystemTest : public ::testing::Test {
  protected:
    MemoryFileSystemTest() {
        files_.AddDrive('C', drivetype::kFixed);
        files_.AddDrive('d', drivetype::kCdRom);
        files_.AddFile("c:\\Program Files\\Vendor\\app.exe");
        files_.AddDirectory("c:\\Windows\\System32");
        files_.AddShortName("c:\\Program Files", "c:\\PROGRA~1");
    }

    MemoryFileSystem files_;
};

TEST_F(MemoryFileSystemTest, FollowsWindowsPathRules) {
    struct Row {
        const char* name;
        const char* path;
        bool file;
        bool directory;
    };
    const Row rows[] = {
        {"file as added", "c:\\Program Files\\Vendor\\app.exe", true, false},
        {"letter case ignored", "C:\\PROGRAM FILES\\vendor\\APP.EXE", true, false},
        {"repeated backslashes", "c:\\\\Program Files\\\\\\Vendor\\app.exe", true, false},
        {"forward slashes", "c:/Program Files/Vendor/app.exe", true, false},
        {"dot components", "c:\\.\\Program Files\\.\\Vendor\\app.exe", true, false},
        {"dot-dot components", "c:\\Windows\\..\\Program Files\\Vendor\\..\\Vendor\\app.exe", true,
         false},
        {"dot-dot above the root", "c:\\..\\..\\Windows", false, true},
        // The trimming rules below are those Wine's and Windows' own path handling show.
        {"trailing dots and blanks of the last name", "c:\\Program Files\\Vendor\\app.exe . .",
         true, false},
        {"one trailing dot of a folder name", "c:\\Program Files.\\Vendor\\app.exe", true, false},
        {"two trailing dots of a folder name", "c:\\Program Files..\\Vendor\\app.exe", false,
         false},
        {"trailing blank of a folder name", "c:\\Program Files \\Vendor\\app.exe", false, false},
        {"three dots are no folder", "c:\\Program Files\\...\\Vendor\\app.exe", false, false},
        {"last folder name trimmed", "c:\\Windows. ", false, true},
        {"last folder name with a backslash: one dot", "c:\\Windows.\\", false, true},
        {"last folder name with a backslash: blank kept", "c:\\Windows. \\", false, false},
        {"file name with a dot and a backslash", "c:\\Program Files\\Vendor\\app.exe.\\", false,
         false},
        {"file then dot-dot", "c:\\Program Files\\Vendor\\app.exe\\..", false, true},
        {"short name", "c:\\progra~1\\Vendor\\app.exe", true, false},
        {"file with a trailing backslash", "c:\\Program Files\\Vendor\\app.exe\\", false, false},
        {"file then dot", "c:\\Program Files\\Vendor\\app.exe\\.", true, false},
        {"through a file", "c:\\Program Files\\Vendor\\app.exe\\more", false, false},
        {"folder", "c:\\Windows\\System32", false, true},
        {"folder with a trailing backslash", "c:\\Windows\\System32\\", false, true},
        {"drive root", "c:\\", false, true},
        {"drive root in capitals", "C:\\", false, true},
        {"drive without backslash", "c:", false, true},
        {"drive-relative path from the root", "c:Windows", false, true},
        {"drive that was not added", "e:\\", false, false},
        {"empty drive", "d:\\x", false, false},
        {"missing file", "c:\\Windows\\notepad.exe", false, false},
        {"wildcard", "c:\\Windows\\*", false, false},
        {"quote in the name", "c:\\Program Files\\Vendor\\app.exe\"", false, false},
        {"relative path", "Windows\\System32", false, false},
        {"root of the current drive", "\\Windows", false, false},
        {"network path", "\\\\server\\share", false, false},
        {"empty text", "", false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(files_.FileExists(row.path), row.file);
        EXPECT_EQ(files_.DirectoryExists(row.path), row.directory);
    }
}

TEST_F(MemoryFileSystemTest, BuildingRejectsPathsItCannotHold) {
    struct Row {
        const char* name;
        const char* path;
        bool directory;
    };
    const Row rows[] = {
        {"drive not added", "e:\\file.txt", false},
        {"relative path", "file.txt", false},
        {"a file in the way", "c:\\Program Files\\Vendor\\app.exe\\inner.txt", false},
        {"a folder where a file is asked", "c:\\Windows", false},
        {"a file where a folder is asked", "c:\\Program Files\\Vendor\\app.exe", true},
        {"a file named with a trailing backslash", "c:\\new.txt\\", false},
        {"a drive root as a file", "c:\\", false},
        {"a wildcard in the name", "c:\\a*b", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        if (row.directory) {
            EXPECT_THROW(files_.AddDirectory(row.path), std::invalid_argument);
        } else {
            EXPECT_THROW(files_.AddFile(row.path), std::invalid_argument);
        }
    }
    EXPECT_THROW(files_.AddDrive('1', drivetype::kFixed), std::invalid_argument);
    EXPECT_THROW(files_.AddShortName("c:\\Missing", "c:\\MISSIN~1"), std::invalid_argument);
    EXPECT_THROW(files_.AddShortName("c:\\Windows", "c:\\Program Files\\WINDOW~1"),
                 std::invalid_argument);
    EXPECT_THROW(files_.AddShortName("c:\\Windows", "c:\\progra~1"), std::invalid_argument);
}

TEST_F(MemoryFileSystemTest, AddingTwiceAndThroughShortNamesKeepsOneEntry) {
    files_.AddFile("C:\\program files\\VENDOR\\App.exe");
    files_.AddFile("c:\\PROGRA~1\\Vendor\\readme.txt");
    const auto entries = files_.ListFolder("c:\\Program Files\\Vendor");
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[2].name, "app.exe");
    EXPECT_EQ(entries[3].name, "readme.txt");
}

TEST_F(MemoryFileSystemTest, RemoveTakesTheWholeSubtree) {
    files_.Remove("C:\\PROGRA~1\\vendor");
    EXPECT_FALSE(files_.FileExists("c:\\Program Files\\Vendor\\app.exe"));
    EXPECT_FALSE(files_.DirectoryExists("c:\\Program Files\\Vendor"));
    EXPECT_TRUE(files_.DirectoryExists("c:\\Program Files"));
    files_.Remove("c:\\not\\there");  // nothing to do
    files_.Remove("c:\\");            // a drive's root stays
    EXPECT_TRUE(files_.DirectoryExists("c:\\Windows"));
}

TEST_F(MemoryFileSystemTest, ListsFoldersInInsertionOrderWithDotEntries) {
    files_.AddFile("c:\\Windows\\zeta.ini");
    files_.AddDirectory("c:\\Windows\\Fonts");
    files_.AddFile("c:\\Windows\\alpha.ini");
    const auto entries = files_.ListFolder("C:\\WINDOWS\\");
    const std::vector<std::pair<std::string, bool>> expected = {
        {".", true},         {"..", true},    {"System32", true},
        {"zeta.ini", false}, {"Fonts", true}, {"alpha.ini", false}};
    ASSERT_EQ(entries.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(expected[i].first);
        EXPECT_EQ(entries[i].name, expected[i].first);
        EXPECT_EQ(entries[i].IsDirectory(), expected[i].second);
    }
}

TEST_F(MemoryFileSystemTest, ListingsOfRootsFilesAndMissingFolders) {
    const auto root = files_.ListFolder("c:\\");
    ASSERT_EQ(root.size(), 2u);  // no dot entries at a drive's root
    EXPECT_EQ(root[0].name, "Program Files");
    EXPECT_EQ(root[1].name, "Windows");
    EXPECT_EQ(files_.ListFolder("c:\\progra~1").size(), 3u);  // long names listed
    EXPECT_EQ(files_.ListFolder("c:\\progra~1")[2].name, "Vendor");
    EXPECT_TRUE(files_.ListFolder("c:\\Program Files\\Vendor\\app.exe").empty());
    EXPECT_TRUE(files_.ListFolder("c:\\Missing").empty());
    EXPECT_TRUE(files_.ListFolder("e:\\").empty());
    EXPECT_TRUE(files_.ListFolder("d:\\").empty());
}

TEST_F(MemoryFileSystemTest, ExpandsEnvironmentReferences) {
    files_.SetEnvironment("SystemRoot", "C:\\WINDOWS");
    files_.SetEnvironment("Empty", "");
    files_.SetEnvironment("A", "1");
    struct Row {
        const char* name;
        const char* text;
        const char* expanded;
    };
    const Row rows[] = {
        {"plain text", "c:\\x.exe", "c:\\x.exe"},
        {"one reference", "%SystemRoot%\\system32", "C:\\WINDOWS\\system32"},
        {"name without case", "%SYSTEMROOT%\\x", "C:\\WINDOWS\\x"},
        {"undefined stays", "%Nowhere%\\x", "%Nowhere%\\x"},
        {"undefined then defined", "%Nowhere%%A%", "%Nowhere%1"},
        {"adjacent references", "%A%%A%", "11"},
        {"empty value", "[%Empty%]", "[]"},
        {"unfinished reference", "x%A", "x%A"},
        {"lone percent signs", "100%", "100%"},
        {"empty name", "%%A%", "%%A%"},
        {"percent between", "%A%%%A%", "1%%A%"},
        {"empty text", "", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(files_.ExpandEnvironmentStrings(row.text, 260), std::string(row.expanded));
    }
}

TEST_F(MemoryFileSystemTest, ExpansionMustFitWithItsTerminatingZero) {
    files_.SetEnvironment("SystemRoot", "C:\\WINDOWS");  // ten characters
    EXPECT_EQ(files_.ExpandEnvironmentStrings("%SystemRoot%", 11), std::string("C:\\WINDOWS"));
    EXPECT_EQ(files_.ExpandEnvironmentStrings("%SystemRoot%", 10), std::nullopt);
    EXPECT_EQ(files_.ExpandEnvironmentStrings("", 1), std::string());
    EXPECT_EQ(files_.ExpandEnvironmentStrings("", 0), std::nullopt);
}

TEST_F(MemoryFileSystemTest, SpecialFoldersAndShortcuts) {
    EXPECT_EQ(files_.SpecialFolderPath(specialfolder::kFonts), "");
    files_.SetSpecialFolder(specialfolder::kFonts, "C:\\Windows\\Fonts");
    EXPECT_EQ(files_.SpecialFolderPath(specialfolder::kFonts), "C:\\Windows\\Fonts");

    files_.SetShortcutTarget("c:\\Menu\\App.lnk", "c:\\Program Files\\Vendor\\app.exe");
    EXPECT_TRUE(files_.FileExists("c:\\menu\\app.lnk"));
    EXPECT_EQ(files_.ResolveShortcutTarget("C:\\MENU\\.\\App.lnk"),
              std::string("c:\\Program Files\\Vendor\\app.exe"));
    EXPECT_EQ(files_.ResolveShortcutTarget("c:\\Program Files\\Vendor\\app.exe"), std::nullopt);
    EXPECT_EQ(files_.ResolveShortcutTarget("c:\\Menu\\Other.lnk"), std::nullopt);
    files_.Remove("c:\\Menu\\App.lnk");
    EXPECT_EQ(files_.ResolveShortcutTarget("c:\\Menu\\App.lnk"), std::nullopt);
}

TEST_F(MemoryFileSystemTest, FolderLinksLeadToTheirTargetAndListAsReparsePoints) {
    files_.AddFile("c:\\Users\\u\\AppData\\note.txt");
    files_.AddFolderLink("c:\\Users\\u\\AppData\\Loop", "C:\\Users\\u");
    EXPECT_TRUE(files_.FileExists("c:\\Users\\u\\AppData\\Loop\\AppData\\note.txt"));
    EXPECT_TRUE(files_.DirectoryExists("c:\\Users\\u\\AppData\\Loop"));
    const std::vector<FolderEntry> entries = files_.ListFolder("c:\\Users\\u\\AppData");
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[3].name, "Loop");
    EXPECT_TRUE(entries[3].IsDirectory());
    EXPECT_TRUE(entries[3].IsReparsePoint());
    EXPECT_FALSE(entries[2].IsReparsePoint());
    const std::vector<FolderEntry> through = files_.ListFolder("c:\\Users\\u\\AppData\\Loop");
    ASSERT_EQ(through.size(), 3u);
    EXPECT_EQ(through[2].name, "AppData");
    EXPECT_THROW(files_.AddFile("c:\\Users\\u\\AppData\\Loop\\new.txt"), std::invalid_argument);
    // As the system's paths without the long-path prefix: MAX_PATH is the limit.
    const std::string deep = "c:\\" + std::string(255, 'a') + "\\b.txt";
    EXPECT_THROW(files_.AddFile(deep), std::invalid_argument);
    EXPECT_FALSE(files_.DirectoryExists(deep));
}

TEST_F(MemoryFileSystemTest, SystemFoldersAndVariables) {
    EXPECT_EQ(files_.SystemWow64Folder(), "");
    files_.SetSystemFolders("C:\\Windows\\System32", "C:\\Windows\\SysWOW64");
    EXPECT_EQ(files_.SystemFolder(), "C:\\Windows\\System32");
    EXPECT_EQ(files_.SystemWow64Folder(), "C:\\Windows\\SysWOW64");
    files_.SetEnvironment("ProgramFiles(x86)", "C:\\Program Files (x86)");
    EXPECT_EQ(files_.EnvironmentVariable("programfiles(X86)"), "C:\\Program Files (x86)");
    EXPECT_EQ(files_.EnvironmentVariable("Unset"), std::nullopt);
}

TEST_F(MemoryFileSystemTest, DriveTypesOfRootFolders) {
    struct Row {
        const char* name;
        const char* root;
        uint32_t type;
    };
    const Row rows[] = {
        {"fixed", "c:\\", drivetype::kFixed},
        {"capital letter", "C:\\", drivetype::kFixed},
        {"without backslash", "c:", drivetype::kFixed},
        {"cd-rom", "D:\\", drivetype::kCdRom},
        {"unknown drive", "x:\\", drivetype::kNoRootDir},
        {"a folder, not a root", "c:\\Windows\\", drivetype::kNoRootDir},
        {"empty text", "", drivetype::kNoRootDir},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(files_.DriveType(row.root), row.type);
    }
}

TEST_F(MemoryFileSystemTest, CountsExistenceQueries) {
    const size_t before = files_.ExistenceQueries();
    files_.FileExists("c:\\a");
    files_.DirectoryExists("c:\\a");
    files_.ListFolder("c:\\");
    files_.DriveType("c:\\");
    EXPECT_EQ(files_.ExistenceQueries() - before, 2u);
}

}  // namespace
}  // namespace vantrel
