// The file system and shell adapter against Wine's drive C: and shell.
#include <windows.h>

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include "platform/TextCase.h"
#include "platform/win32/LongPathForm.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Shell.h"
#include "tests/core/WaitUntil.h"
#include "tests/win32/ScratchArea.h"
#include "tests/win32/UnixSymlink.h"

namespace vantrel {
namespace {

using test::ScratchFolder;

class Win32FileSystemTest : public ::testing::Test {
  protected:
    ScratchFolder folder_;
    Win32FileSystem files_;
};

TEST_F(Win32FileSystemTest, FileAndDirectoryExistence) {
    folder_.CreateFile(L"present.txt");
    folder_.CreateFolder(L"sub");
    struct Row {
        const char* label;
        std::string path;
        bool file;
        bool directory;
    };
    const std::vector<Row> rows = {
        {"file", folder_.Path("present.txt"), true, false},
        {"file in other letter case", folder_.Path("PRESENT.TXT"), true, false},
        {"folder", folder_.Path("sub"), false, true},
        {"folder with trailing backslash", folder_.Path("sub") + "\\", false, true},
        {"missing", folder_.Path("absent.txt"), false, false},
        {"below a file", folder_.Path("present.txt\\x"), false, false},
        {"drive root", "C:\\", false, true},
        {"system folder", "C:\\windows", false, true},
        {"empty path", "", false, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        EXPECT_EQ(files_.FileExists(row.path), row.file);
        EXPECT_EQ(files_.DirectoryExists(row.path), row.directory);
    }
}

// A path of MAX_PATH characters or more is asked for in its "\\?\" form, which every Windows
// opens whatever its long-path setting (Wine opens either form, so the form itself is checked).
TEST_F(Win32FileSystemTest, LongPathsAreAskedForInTheirLongForm) {
    std::wstring deep = folder_.WidePath();
    for (int level = 0; level < 6; ++level) {
        deep += L"\\" + std::wstring(50, static_cast<wchar_t>(L'a' + level));
        ASSERT_TRUE(::CreateDirectoryW(LongPathForm(deep).c_str(), nullptr));
    }
    ASSERT_GE(deep.size(), size_t{MAX_PATH});
    const HANDLE made = ::CreateFileW(LongPathForm(deep + L"\\tool.exe").c_str(), GENERIC_WRITE, 0,
                                      nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(made, INVALID_HANDLE_VALUE);
    ::CloseHandle(made);
    const std::string narrow(deep.begin(), deep.end());
    EXPECT_TRUE(files_.FileExists(narrow + "\\tool.exe"));
    EXPECT_FALSE(files_.FileExists(narrow + "\\gone.exe"));
    EXPECT_TRUE(files_.DirectoryExists(narrow));
    const std::vector<FolderEntry> listed = files_.ListFolder(narrow);
    EXPECT_TRUE(std::any_of(listed.begin(), listed.end(),
                            [](const FolderEntry& entry) { return entry.name == "tool.exe"; }));

    struct Case {
        std::wstring path;
        std::wstring form;
    };
    const std::wstring tail(MAX_PATH, L'x');
    const Case cases[] = {
        {L"C:\\short\\tool.exe", L"C:\\short\\tool.exe"},
        {L"C:\\a\\..\\" + tail, L"\\\\?\\C:\\" + tail},
        {L"\\\\server\\share\\" + tail, L"\\\\?\\UNC\\server\\share\\" + tail},
        {L"\\\\?\\C:\\" + tail, L"\\\\?\\C:\\" + tail},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LongPathForm(c.path), c.form) << c.path.size() << " characters";
}

TEST_F(Win32FileSystemTest, DriveCIsAFixedDisk) {
    EXPECT_EQ(files_.DriveType("C:\\"), drivetype::kFixed);
    EXPECT_EQ(files_.DriveType("c:\\"), drivetype::kFixed);
}

TEST_F(Win32FileSystemTest, UnassignedDriveHasNoRoot) {
    const DWORD drives = ::GetLogicalDrives();
    for (char letter = 'Y'; letter > 'D'; --letter) {
        if ((drives & (1u << (letter - 'A'))) != 0)
            continue;
        EXPECT_EQ(files_.DriveType(std::string(1, letter) + ":\\"), drivetype::kNoRootDir);
        return;
    }
    GTEST_SKIP() << "every drive letter is in use";
}

TEST_F(Win32FileSystemTest, ListFolderGivesNamesAndAttributes) {
    folder_.CreateFile(L"a.lnk");
    folder_.CreateFolder(L"Group");
    ::SetFileAttributesW(folder_.WidePath(L"a.lnk").c_str(), FILE_ATTRIBUTE_HIDDEN);

    const auto entries = files_.ListFolder(folder_.Path());
    auto find = [&](const std::string& name) {
        return std::find_if(entries.begin(), entries.end(),
                            [&](const FolderEntry& e) { return e.name == name; });
    };
    ASSERT_NE(find("a.lnk"), entries.end());
    EXPECT_FALSE(find("a.lnk")->IsDirectory());
    EXPECT_NE(find("a.lnk")->attributes & FILE_ATTRIBUTE_HIDDEN, 0u) << "hidden files are listed";
    ASSERT_NE(find("Group"), entries.end());
    EXPECT_TRUE(find("Group")->IsDirectory());
    EXPECT_EQ(files_.ListFolder(folder_.Path() + "\\").size(), entries.size())
        << "a trailing backslash is not doubled";
    EXPECT_TRUE(files_.ListFolder(folder_.Path("missing")).empty());
}

TEST_F(Win32FileSystemTest, ListFolderMarksLinksAsReparsePoints) {
    folder_.CreateFolder(L"Real");
    const test::UnixSymlink link(folder_.WidePath(L"Up"), "..");
    ASSERT_TRUE(link.Created());
    // A link the host made a moment ago can be missing from Wine's first listing under load.
    std::vector<FolderEntry> entries;
    const auto find = [&](const char* name) {
        return std::find_if(entries.begin(), entries.end(),
                            [&](const FolderEntry& e) { return e.name == name; });
    };
    ASSERT_TRUE(test::WaitUntil([&] {
        entries = files_.ListFolder(folder_.Path());
        return find("Up") != entries.end() && find("Real") != entries.end();
    }));
    const auto named = [&](const char* name) { return *find(name); };
    EXPECT_TRUE(named("Up").IsReparsePoint());
    EXPECT_TRUE(named("Up").IsDirectory());
    EXPECT_FALSE(named("Real").IsReparsePoint());
}

// Wine's prefix is a 64-bit Windows: 32-bit programs see a system folder and a Program Files
// of their own.
TEST_F(Win32FileSystemTest, NamesTheFoldersOfThe32BitView) {
    EXPECT_TRUE(EqualsIgnoreCase(files_.SystemFolder(), "C:\\windows\\system32"));
    EXPECT_TRUE(EqualsIgnoreCase(files_.SystemWow64Folder(), "C:\\windows\\syswow64"));
    EXPECT_TRUE(files_.DirectoryExists(files_.SystemWow64Folder()));
    EXPECT_EQ(files_.EnvironmentVariable("ProgramFiles(x86)"),
              std::optional<std::string>("C:\\Program Files (x86)"));
    EXPECT_EQ(files_.EnvironmentVariable("VANTREL_NEVER_SET"), std::nullopt);
    ASSERT_TRUE(::SetEnvironmentVariableW(L"VANTREL_EMPTY", L""));
    EXPECT_EQ(files_.EnvironmentVariable("VANTREL_EMPTY"), std::optional<std::string>(""));
}

TEST_F(Win32FileSystemTest, ListFolderNeverHandsOutALossyName) {
    if (::GetACP() == CP_UTF8 || ::GetACP() == 932)
        GTEST_SKIP() << "code page holds the name";
    folder_.CreateFile(L"\u65E5\u672C.lnk");
    folder_.CreateFile(L"plain.lnk");

    const auto entries = files_.ListFolder(folder_.Path());
    bool sawPlain = false;
    int standIns = 0;
    for (const auto& entry : entries) {
        SCOPED_TRACE(entry.name);
        EXPECT_EQ(entry.name.find('?'), std::string::npos) << "'?' is a wildcard to the shell";
        sawPlain = sawPlain || entry.name == "plain.lnk";
        if (entry.name == "." || entry.name == ".." || entry.name == "plain.lnk")
            continue;
        // Whatever stands for the lossy file must name that very file.
        EXPECT_TRUE(files_.FileExists(folder_.Path(entry.name)));
        ++standIns;
    }
    EXPECT_TRUE(sawPlain);
    // Wine gives every long name a short form, so the file is listed by that form.
    EXPECT_EQ(standIns, 1);
}

TEST_F(Win32FileSystemTest, ExpandEnvironmentStrings) {
    ASSERT_TRUE(::SetEnvironmentVariableW(L"VANTREL_TEST_DIR", L"C:\\Apps"));
    const std::string expanded = "C:\\Apps\\x.exe";
    struct Row {
        const char* label;
        std::string text;
        size_t bufferChars;
        std::optional<std::string> expected;
    };
    const std::vector<Row> rows = {
        {"reference expanded", "%VANTREL_TEST_DIR%\\x.exe", 260, expanded},
        {"exact fit with the terminator", "%VANTREL_TEST_DIR%\\x.exe", expanded.size() + 1,
         expanded},
        {"one character short", "%VANTREL_TEST_DIR%\\x.exe", expanded.size(), std::nullopt},
        {"unknown reference stays", "%VANTREL_NO_SUCH%\\y", 260, "%VANTREL_NO_SUCH%\\y"},
        {"plain text", "C:\\plain", 260, "C:\\plain"},
        {"no buffer", "x", 0, std::nullopt},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        EXPECT_EQ(files_.ExpandEnvironmentStrings(row.text, row.bufferChars), row.expected);
    }
}

// A path the code page cannot hold is given in its short form, or not at all.
TEST_F(Win32FileSystemTest, ExpansionOutsideTheCodePage) {
    if (::GetACP() == CP_UTF8 || ::GetACP() == 932)
        GTEST_SKIP() << "code page holds the name";
    folder_.CreateFolder(L"\u65E5");
    ASSERT_TRUE(
        ::SetEnvironmentVariableW(L"VANTREL_TEST_DIR", folder_.WidePath(L"\u65E5").c_str()));
    const auto existing = files_.ExpandEnvironmentStrings("%VANTREL_TEST_DIR%", 260);
    ASSERT_TRUE(existing.has_value());
    EXPECT_EQ(existing->find('?'), std::string::npos) << *existing;
    EXPECT_TRUE(files_.DirectoryExists(*existing)) << *existing;
    EXPECT_EQ(files_.ExpandEnvironmentStrings("%VANTREL_TEST_DIR%\\missing", 260), std::nullopt);
}

TEST_F(Win32FileSystemTest, SpecialFoldersExist) {
    const std::string fonts = files_.SpecialFolderPath(specialfolder::kFonts);
    EXPECT_FALSE(fonts.empty());
    EXPECT_TRUE(files_.DirectoryExists(fonts)) << fonts;
    EXPECT_FALSE(files_.SpecialFolderPath(specialfolder::kAppData).empty());
    EXPECT_EQ(files_.SpecialFolderPath(0x7F), "") << "an unknown folder number gives nothing";
}

void SaveShortcut(const std::wstring& linkPath, const std::wstring& target) {
    ASSERT_TRUE(SaveShortcutFile(linkPath, target));
}

class Win32ShortcutTest : public Win32FileSystemTest {
  protected:
    ComInitializer com_;
};

TEST_F(Win32ShortcutTest, ResolvesTheTargetOfASavedShortcut) {
    ASSERT_TRUE(com_.Succeeded());
    folder_.CreateFile(L"target.exe");
    folder_.CreateFolder(L"TargetDir");
    SaveShortcut(folder_.WidePath(L"ToFile.lnk"), folder_.WidePath(L"target.exe"));
    SaveShortcut(folder_.WidePath(L"ToFolder.lnk"), folder_.WidePath(L"TargetDir"));

    EXPECT_EQ(files_.ResolveShortcutTarget(folder_.Path("ToFile.lnk")), folder_.Path("target.exe"));
    EXPECT_EQ(files_.ResolveShortcutTarget(folder_.Path("ToFolder.lnk")),
              folder_.Path("TargetDir"));
}

TEST_F(Win32ShortcutTest, TargetRemovedLaterIsStillResolved) {
    ASSERT_TRUE(com_.Succeeded());
    folder_.CreateFile(L"old.exe");
    SaveShortcut(folder_.WidePath(L"Old.lnk"), folder_.WidePath(L"old.exe"));
    ASSERT_TRUE(::DeleteFileW(folder_.WidePath(L"old.exe").c_str()));

    const auto target = files_.ResolveShortcutTarget(folder_.Path("Old.lnk"));
    ASSERT_TRUE(target.has_value());
    EXPECT_EQ(*target, folder_.Path("old.exe"));
    EXPECT_FALSE(files_.FileExists(*target));
}

TEST_F(Win32ShortcutTest, TargetOutsideTheCodePage) {
    if (::GetACP() == CP_UTF8 || ::GetACP() == 932)
        GTEST_SKIP() << "code page holds the name";
    ASSERT_TRUE(com_.Succeeded());
    folder_.CreateFile(L"\u65E5.exe");
    SaveShortcut(folder_.WidePath(L"Present.lnk"), folder_.WidePath(L"\u65E5.exe"));
    SaveShortcut(folder_.WidePath(L"Gone.lnk"), folder_.WidePath(L"\u672C.exe"));

    const auto present = files_.ResolveShortcutTarget(folder_.Path("Present.lnk"));
    ASSERT_TRUE(present.has_value());
    EXPECT_EQ(present->find('?'), std::string::npos) << *present;
    EXPECT_TRUE(files_.FileExists(*present)) << "the short form names the same file";
    // A missing target that cannot be named in ANSI is not reported as a missing "?" file.
    EXPECT_EQ(files_.ResolveShortcutTarget(folder_.Path("Gone.lnk")), std::nullopt);
}

TEST_F(Win32ShortcutTest, UnreadableShortcutGivesNothing) {
    ASSERT_TRUE(com_.Succeeded());
    folder_.CreateFile(L"empty.lnk");  // zero bytes: not a shell link
    EXPECT_EQ(files_.ResolveShortcutTarget(folder_.Path("empty.lnk")), std::nullopt);
    EXPECT_EQ(files_.ResolveShortcutTarget(folder_.Path("missing.lnk")), std::nullopt);
}

TEST_F(Win32FileSystemTest, ShortcutWithoutComOnTheThreadGivesNothing) {
    std::optional<std::string> target = "unset";
    std::thread worker([&] { target = files_.ResolveShortcutTarget(folder_.Path("x.lnk")); });
    worker.join();
    EXPECT_EQ(target, std::nullopt);
}

}  // namespace
}  // namespace vantrel
