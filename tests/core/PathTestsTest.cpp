#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "platform/ForwardingFileSystem.h"
#include "platform/TextCase.h"
#include "platform/memory/MemoryFileSystem.h"
#include "platform/memory/MemoryRegistry.h"
#include "scan/FileExistenceCache.h"
#include "scan/PathTests.h"

namespace vantrel {
namespace {

// Passes everything to another file system and remembers what was asked, so a test can see the
// exact paths and buffer sizes the path tests use.
class RecordingFileSystem : public ForwardingFileSystem {
  public:
    using ForwardingFileSystem::ForwardingFileSystem;

    bool FileExists(std::string_view path) override {
        fileQueries.emplace_back(path);
        return Inner().FileExists(path);
    }
    bool DirectoryExists(std::string_view path) override {
        directoryQueries.emplace_back(path);
        return Inner().DirectoryExists(path);
    }
    uint32_t DriveType(std::string_view rootFolder) override {
        driveQueries.emplace_back(rootFolder);
        return Inner().DriveType(rootFolder);
    }
    std::optional<std::string> ExpandEnvironmentStrings(std::string_view text,
                                                        size_t bufferChars) override {
        expansionBufferChars = bufferChars;
        expansions.emplace_back(text);
        if (expansionOverride)
            return *expansionOverride;
        return Inner().ExpandEnvironmentStrings(text, bufferChars);
    }

    std::vector<std::string> fileQueries;
    std::vector<std::string> directoryQueries;
    std::vector<std::string> driveQueries;
    size_t expansionBufferChars = 0;
    std::vector<std::string> expansions;
    // Set to answer every expansion with this result instead.
    std::optional<std::optional<std::string>> expansionOverride;
};

// A machine with a fixed disk C:, a second fixed disk E:, a removable D: and a network N:.
void BuildMachine(MemoryFileSystem& files) {
    files.AddDrive('c', drivetype::kFixed);
    files.AddDrive('d', drivetype::kRemovable);
    files.AddDrive('e', drivetype::kFixed);
    files.AddDrive('n', drivetype::kRemote);
    files.AddFile("C:\\WINDOWS\\system32\\rundll32.exe");
    files.AddFile("C:\\WINDOWS\\system32\\shell32.dll");
    files.AddFile("C:\\WINDOWS\\system32\\cmd.exe");
    files.AddFile("C:\\Program Files\\Vendor\\prog.exe");
    files.AddFile("C:\\Tools\\app.exe");
    files.AddFile("C:\\App\\app.exe");
    files.AddFile("C:\\Apps\\foo.exe");
    files.AddFile("D:\\Removable\\present.exe");
    files.AddDirectory("C:\\Data\\folder");
    files.AddDirectory("C:\\Parent");
    files.SetEnvironment("SystemRoot", "C:\\WINDOWS");
    files.SetEnvironment("ComSpec", "C:\\WINDOWS\\system32\\cmd.exe");
    files.SetEnvironment("Padded", "\t C:\\WINDOWS \r\n");
}

struct MissingPathCase {
    const char* name;
    const char* text;
    const char* fileName;
    bool allowDirectory;
    bool missing;
};

const MissingPathCase kMissingPathCases[] = {
    // Steps 1 to 3: what is not judged at all.
    {"EmptyText", "", "", false, false},
    {"LoneQuote", "\"", "", false, false},
    {"EmptyQuotes", "\"\"", "", false, false},
    {"LonePercent", "%", "", false, false},
    {"PercentWithoutClosingPercent", "%SystemRoot\\gone.exe", "", false, false},
    {"UndefinedVariable", "%NoSuchVariable%\\gone.exe", "", false, false},
    {"VariableNamingAFile", "%ComSpec% /c dir", "", false, false},
    // Quotes and variables that lead to a judged path.
    {"QuotedProgramPresentWithArguments", "\"C:\\Program Files\\Vendor\\prog.exe\" -run", "", false,
     false},
    {"QuotedProgramMissingWithArguments", "\"C:\\Program Files\\Vendor\\gone.exe\" -run", "", false,
     true},
    {"UnclosedQuoteMissing", "\"C:\\Program Files\\Vendor\\gone.exe", "", false, true},
    {"VariableFolderProgramPresent", "%SystemRoot%\\system32\\rundll32.exe", "", false, false},
    {"VariableFolderProgramMissing", "%SystemRoot%\\system32\\gone.exe", "", false, true},
    {"VariableExpansionTrimmed", "%Padded%\\system32\\gone.exe", "", false, true},
    {"VariableCaseIgnored", "%systemroot%\\system32\\gone.exe", "", false, true},
    {"QuotedVariable", "\"%SystemRoot%\\gone.exe\" /x", "", false, true},
    // Step 4: with a file name.
    {"FileNamePresentOtherCase", "C:\\Apps\\FOO.EXE -x", "foo.exe", false, false},
    {"FileNameMissing", "C:\\Gone\\FOO.EXE -x", "foo.exe", false, true},
    {"FileNameNotInText", "C:\\Apps\\bar.exe", "foo.exe", false, false},
    {"FileNameOnRemovableDrive", "D:\\Gone\\foo.exe", "foo.exe", false, false},
    {"FileNameWithoutDriveRoot", "cx:\\Gone\\foo.exe", "foo.exe", false, false},
    {"FileNameBeforeDrive", "foo.exe C:\\x", "foo.exe", false, false},
    {"FileNameIgnoresAllowDirectory", "C:\\Data\\folder", "folder", true, true},
    {"FileNameAfterVariable", "%SystemRoot%\\system32\\RUNDLL32.EXE,1", "rundll32.exe", false,
     false},
    // Drives.
    {"NoDrive", "rundll32.exe shell32.dll,Control_RunDLL", "", false, false},
    {"MissingOnFixedDrive", "C:\\gone.exe", "", false, true},
    {"MissingOnSecondFixedDrive", "E:\\gone.exe", "", false, true},
    {"LowerCaseDriveLetter", "c:\\gone.exe", "", false, true},
    {"LowerCaseDriveLetterPresent", "c:\\windows\\SYSTEM32\\rundll32.exe", "", false, false},
    {"RemovableDrive", "D:\\gone.exe", "", false, false},
    {"NetworkDrive", "N:\\gone.exe", "", false, false},
    {"UnknownDrive", "Q:\\gone.exe", "", false, false},
    {"DriveWithoutBackslash", "C:gone.exe", "", false, false},
    {"DriveRootNotAtPositionTwo", "Cx:\\gone.exe", "", false, false},
    {"SecondDrivePath", "C:\\App\\app.exe /log C:\\temp", "", false, false},
    {"SecondDrivePathProgramMissing", "C:\\Gone\\app.exe /log C:\\temp", "", false, false},
    {"SecondDrivePathRightAfterRoot", "C:\\:\\x", "", false, false},
    {"DriveRootMarkOnlyOnce", "C:\\Gone\\a:b\\c", "", false, true},
    // Step 5e: a folder path.
    {"TrailingBackslashFolderPresent", "C:\\Data\\folder\\", "", false, false},
    {"TrailingBackslashFolderMissing", "C:\\Parent\\Missing\\", "", false, true},
    {"DriveRootOnly", "C:\\", "", false, false},
    // Step 5f: the folder part exists.
    {"RundllWithArguments", "C:\\WINDOWS\\system32\\rundll32.exe shell32.dll,Control_RunDLL", "",
     false, false},
    {"ProgramWithoutExtension", "C:\\Tools\\app -x", "", false, false},
    {"ProgramWithoutExtensionMissing", "C:\\Tools\\other -x", "", false, true},
    {"IconIndexAfterComma", "C:\\Tools\\app.exe,1", "", false, false},
    {"SwitchAfterSlash", "C:\\Tools\\app.exe/s", "", false, false},
    {"PipeSeparator", "C:\\Tools\\app.exe|x", "", false, false},
    {"UnquotedSpaceInFolder", "C:\\Program Files\\Vendor\\prog.exe -x", "", false, false},
    {"DirectoryBeforeArgumentsDisallowed", "C:\\Data\\folder -x", "", false, true},
    {"DirectoryBeforeArgumentsAllowed", "C:\\Data\\folder -x", "", true, false},
    {"DirectoryPathDisallowed", "C:\\Data\\folder", "", false, true},
    {"DirectoryPathAllowed", "C:\\Data\\folder", "", true, false},
    {"DotIsNoSeparator", "C:\\Tools\\app.x", "", false, true},
    // Step 5g: the last backslash belongs to an argument.
    {"ArgumentWithBackslashProgramPresent", "C:\\Tools\\app.exe -dir x\\y", "", false, false},
    {"ArgumentWithBackslashExeTest", "C:\\Tools\\app -dir x\\y", "", false, false},
    {"ArgumentWithBackslashProgramMissing", "C:\\Gone\\app -dir x\\y", "", false, true},
    {"AnyPrefixNamingAFile", "C:\\Tools\\app.exe.bak\\q", "", false, false},
    {"PrefixScanIgnoresAllowDirectory", "C:\\Data\\folder -x\\y", "", true, true},
};

class PathTestsTest : public ::testing::Test {
  protected:
    PathTestsTest() { BuildMachine(files_); }

    MemoryFileSystem files_;
};

TEST_F(PathTestsTest, IsMissingFilePathCases) {
    const PathTests tests(files_, ComputeFixedDriveLetters(files_));
    for (const MissingPathCase& row : kMissingPathCases) {
        EXPECT_EQ(tests.IsMissingFilePath(row.text, row.fileName, row.allowDirectory), row.missing)
            << row.name << ": " << row.text;
    }
}

TEST_F(PathTestsTest, IsMissingFilePathCasesThroughTheCache) {
    FileExistenceCache cache(files_);
    const PathTests tests(cache, ComputeFixedDriveLetters(cache));
    // Twice, so the second round is answered from the cache.
    for (int round = 0; round < 2; ++round) {
        for (const MissingPathCase& row : kMissingPathCases) {
            EXPECT_EQ(tests.IsMissingFilePath(row.text, row.fileName, row.allowDirectory),
                      row.missing)
                << row.name << " round " << round << ": " << row.text;
        }
    }
}

TEST_F(PathTestsTest, FixedDriveLettersMatchWithoutCase) {
    const PathTests upper(files_, "CE");
    EXPECT_TRUE(upper.IsMissingFilePath("c:\\gone.exe"));
    EXPECT_TRUE(upper.IsMissingFilePath("e:\\gone.exe"));
    EXPECT_FALSE(upper.IsMissingFilePath("d:\\gone.exe"));
    const PathTests none(files_, "");
    EXPECT_FALSE(none.IsMissingFilePath("C:\\gone.exe"));
}

TEST_F(PathTestsTest, FileNameKeepsItsOwnLetterCase) {
    RecordingFileSystem recorder(files_);
    const PathTests tests(recorder, "c");
    EXPECT_FALSE(tests.IsMissingFilePath("C:\\Apps\\FOO.EXE -x", "foo.exe"));
    EXPECT_EQ(recorder.fileQueries, std::vector<std::string>{"C:\\Apps\\foo.exe"});
    EXPECT_TRUE(recorder.directoryQueries.empty());
}

// Every prefix of the text is tried as a file, and at each separator as a program; nothing
// is there to find inside a folder that does not exist, so the folder is asked about once
// instead of the file system about every character of the names in it.
TEST_F(PathTestsTest, PrefixScanAsksNothingInsideAMissingFolder) {
    RecordingFileSystem recorder(files_);
    const PathTests tests(recorder, "c");
    EXPECT_TRUE(tests.IsMissingFilePath("C:\\Gone\\a b\\c"));  // separators ":" and " "
    EXPECT_EQ(recorder.fileQueries,
              (std::vector<std::string>{"C", "C.exe", "C:", "C:\\", "C:\\G", "C:\\Go", "C:\\Gon",
                                        "C:\\Gone", "C:\\Gone\\"}));
    EXPECT_EQ(std::count(recorder.directoryQueries.begin(), recorder.directoryQueries.end(),
                         "C:\\Gone\\"),
              1);
    // The same text again is judged from memory.
    recorder.fileQueries.clear();
    recorder.directoryQueries.clear();
    EXPECT_TRUE(tests.IsMissingFilePath("C:\\Gone\\a b\\c"));
    EXPECT_TRUE(recorder.fileQueries.empty());
    EXPECT_TRUE(recorder.directoryQueries.empty());
}

struct ExpansionCase {
    const char* name;
    const char* text;
    const char* expected;
};

TEST_F(PathTestsTest, ExpandEnvironmentPathCases) {
    const ExpansionCase cases[] = {
        {"ExpandsToFolder", "%SystemRoot%", "C:\\WINDOWS"},
        {"ExpandsWithinText", "%SystemRoot%\\system32", "C:\\WINDOWS\\system32"},
        {"TrimsControlsAndBlanks", "%Padded%", "C:\\WINDOWS"},
        {"ExpandsToFileUnchanged", "%ComSpec%", "%ComSpec%"},
        {"UndefinedUnchanged", "%NoSuchVariable%", "%NoSuchVariable%"},
        {"PlainFolder", "C:\\Data\\folder", "C:\\Data\\folder"},
        {"PlainFolderTrimmed", "  C:\\Data\\folder ", "C:\\Data\\folder"},
        {"MissingFolderUnchanged", "%SystemRoot%\\gone", "%SystemRoot%\\gone"},
        {"EmptyText", "", ""},
    };
    const PathTests tests(files_, "c");
    for (const ExpansionCase& row : cases) {
        EXPECT_EQ(tests.ExpandEnvironmentPath(row.text), row.expected) << row.name;
    }
}

TEST_F(PathTestsTest, ExpandEnvironmentPathUsesBufferOf1024Characters) {
    RecordingFileSystem recorder(files_);
    const PathTests tests(recorder, "c");
    tests.ExpandEnvironmentPath("%SystemRoot%");
    EXPECT_EQ(recorder.expansionBufferChars, 1024u);
}

TEST_F(PathTestsTest, ExpandEnvironmentPathFailureKeepsText) {
    RecordingFileSystem recorder(files_);
    recorder.expansionOverride = std::optional<std::string>{};
    const PathTests tests(recorder, "c");
    EXPECT_EQ(tests.ExpandEnvironmentPath("%SystemRoot%"), "%SystemRoot%");
    // The text itself still counts when it names a folder.
    EXPECT_EQ(tests.ExpandEnvironmentPath("C:\\Data\\folder"), "C:\\Data\\folder");
}

TEST_F(PathTestsTest, ExpandEnvironmentPathStopsAtTerminatingZero) {
    RecordingFileSystem recorder(files_);
    recorder.expansionOverride = std::optional<std::string>{std::string("C:\\WINDOWS\0junk", 15)};
    const PathTests tests(recorder, "c");
    EXPECT_EQ(tests.ExpandEnvironmentPath("%SystemRoot%"), "C:\\WINDOWS");
}

TEST_F(PathTestsTest, ExpansionLongerThanBufferIsNotJudged) {
    files_.SetEnvironment("Long", std::string(2000, 'x'));
    const PathTests tests(files_, "c");
    EXPECT_EQ(tests.ExpandEnvironmentPath("%Long%"), "%Long%");
    EXPECT_FALSE(tests.IsMissingFilePath("%Long%\\gone.exe"));
}

TEST_F(PathTestsTest, ExpandsEachVariableReferenceOnceForTheObjectsLife) {
    RecordingFileSystem recorder(files_);
    const PathTests tests(recorder, "c");
    struct Row {
        const char* text;
        bool missing;
    };
    const Row rows[] = {
        {"%SystemRoot%\\system32\\gone.exe", true},
        {"%SystemRoot%\\system32\\rundll32.exe", false},
        {"\"%SystemRoot%\\gone.exe\" /x", true},
        {"%NoSuchVariable%\\gone.exe", false},
        {"%NoSuchVariable%\\other.exe", false},
        {"%ComSpec% /c dir", false},
        {"%ComSpec% /k", false},
    };
    for (int round = 0; round < 2; ++round) {
        for (const Row& row : rows) {
            EXPECT_EQ(tests.IsMissingFilePath(row.text), row.missing)
                << row.text << " round " << round;
        }
    }
    const std::vector<std::string> expected = {"%SystemRoot%", "%NoSuchVariable%", "%ComSpec%"};
    EXPECT_EQ(recorder.expansions, expected);
    // Another scan's object asks again: the environment may have changed in between.
    const PathTests nextScan(recorder, "c");
    EXPECT_TRUE(nextScan.IsMissingFilePath("%SystemRoot%\\gone.exe"));
    EXPECT_EQ(recorder.expansions.size(), expected.size() + 1);
}

TEST(PathSeparators, AreTheNineCharacters) {
    std::string separators;
    for (int c = 1; c < 256; ++c) {
        if (IsPathSeparator(static_cast<char>(c)))
            separators.push_back(static_cast<char>(c));
    }
    EXPECT_EQ(separators, " *,/:<>?|");
}

TEST(FixedDriveLetters, ListsFixedDisksFromCToZ) {
    MemoryFileSystem files;
    files.AddDrive('a', drivetype::kFixed);
    files.AddDrive('c', drivetype::kFixed);
    files.AddDrive('d', drivetype::kCdRom);
    files.AddDrive('f', drivetype::kFixed);
    files.AddDrive('g', drivetype::kRemovable);
    files.AddDrive('z', drivetype::kFixed);
    EXPECT_EQ(ComputeFixedDriveLetters(files), "cfz");
}

// A fixed disk that is locked or not mounted cannot say what is missing from it.
TEST(FixedDriveLetters, LeaveOutAFixedDiskWhoseRootDoesNotAnswer) {
    class LockedDriveF : public ForwardingFileSystem {
      public:
        using ForwardingFileSystem::ForwardingFileSystem;
        bool DirectoryExists(std::string_view path) override {
            return !EqualsIgnoreCase(path, "F:\\") && ForwardingFileSystem::DirectoryExists(path);
        }
    };
    MemoryFileSystem files;
    files.AddDrive('c', drivetype::kFixed);
    files.AddDrive('f', drivetype::kFixed);
    LockedDriveF locked(files);
    EXPECT_EQ(ComputeFixedDriveLetters(locked), "c");
}

TEST(FixedDriveLetters, AsksEachRootFromCToZInOrder) {
    MemoryFileSystem files;
    RecordingFileSystem recorder(files);
    ComputeFixedDriveLetters(recorder);
    std::vector<std::string> expected;
    for (char letter = 'c'; letter <= 'z'; ++letter)
        expected.push_back({letter, ':', '\\'});
    EXPECT_EQ(recorder.driveQueries, expected);
}

TEST(RegKeyExistsTest, FindsExistingKeysAndCreatesNothing) {
    MemoryRegistry registry;
    registry.AddKey(RootKey::LocalMachine, "Software\\Vendor\\App");
    registry.AddKey(RootKey::LocalMachine, "Software\\Locked");
    registry.RefuseOpen(RootKey::LocalMachine, "Software\\Locked");
    EXPECT_TRUE(RegKeyExists(registry, RootKey::LocalMachine, "Software\\Vendor\\App"));
    EXPECT_TRUE(RegKeyExists(registry, RootKey::LocalMachine, "software\\VENDOR"));
    EXPECT_FALSE(RegKeyExists(registry, RootKey::CurrentUser, "Software\\Vendor\\App"));
    EXPECT_FALSE(RegKeyExists(registry, RootKey::LocalMachine, "Software\\Vendor\\Gone"));
    EXPECT_FALSE(RegKeyExists(registry, RootKey::LocalMachine, "Software\\Locked"));
    EXPECT_FALSE(registry.HasKey(RootKey::LocalMachine, "Software\\Vendor\\Gone"));
    EXPECT_FALSE(registry.HasKey(RootKey::CurrentUser, "Software\\Vendor\\App"));
}

}  // namespace
}  // namespace vantrel
