// File Extensions (12): empty machine class keys, then unregistered per-user extensions.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/core/CheckTestFixture.h"

namespace vantrel {
namespace {

using checktest::CheckCase;
using checktest::CheckFixture;
using checktest::ExpectRows;
using checktest::Row;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::string kUnused = checktest::ProblemOf(checktest::kFileExtensions);
constexpr const char* kClasses = "HKEY_LOCAL_MACHINE\\Software\\Classes";
constexpr const char* kFileExts =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts";
constexpr RepairKind kSubkey = RepairKind::DeleteSubkey;

TEST(FileExtensionsCheck, EmptyMachineClassKeys) {
    const std::vector<CheckCase> cases = {
        {"only an empty default string",
         R"([HKEY_LOCAL_MACHINE\Software\Classes\.abc]
@=""
)",
         {Row{kUnused, kClasses, ".abc", kSubkey}}},
        {"an empty expandable default string",
         R"([HKEY_LOCAL_MACHINE\Software\Classes\.abc]
@=hex(2):00
)",
         {Row{kUnused, kClasses, ".abc", kSubkey}}},
        {"a default string of zero length",
         R"([HKEY_LOCAL_MACHINE\Software\Classes\.abc]
@=hex(1):
)",
         {Row{kUnused, kClasses, ".abc", kSubkey}}},
        {"a class name is judged like an extension",
         R"([HKEY_LOCAL_MACHINE\Software\Classes\Foo.Document]
@=""
)",
         {Row{kUnused, kClasses, "Foo.Document", kSubkey}}},
        {"a named value besides the default",
         R"([HKEY_LOCAL_MACHINE\Software\Classes\.abc]
@=""
"Content Type"=""
)",
         {}},
        {"one empty subkey",
         R"([HKEY_LOCAL_MACHINE\Software\Classes\.abc]
@=""
[HKEY_LOCAL_MACHINE\Software\Classes\.abc\ShellNew]
)",
         {}},
        {"a number as the default value",
         R"([HKEY_LOCAL_MACHINE\Software\Classes\.abc]
@=dword:00000000
)",
         {}},
        {"a zero-length binary default value",
         R"([HKEY_LOCAL_MACHINE\Software\Classes\.abc]
@=hex:
)",
         {}},
        {"no value at all",
         R"([HKEY_LOCAL_MACHINE\Software\Classes\.abc]
)",
         {}},
        {"only a named empty value",
         R"([HKEY_LOCAL_MACHINE\Software\Classes\.abc]
"x"=""
)",
         {}},
        {"a default string with text",
         R"([HKEY_LOCAL_MACHINE\Software\Classes\.abc]
@="abcfile"
)",
         {}},
        {"an odd default value does not disturb the keys after it",
         R"([HKEY_LOCAL_MACHINE\Software\Classes\.num]
@=dword:00000001
[HKEY_LOCAL_MACHINE\Software\Classes\.bin]
@=hex:01,02
[HKEY_LOCAL_MACHINE\Software\Classes\.abc]
@=""
[HKEY_LOCAL_MACHINE\Software\Classes\.txt]
@="txtfile"
[HKEY_LOCAL_MACHINE\Software\Classes\Bar.Class]
@=""
)",
         {Row{kUnused, kClasses, ".abc", kSubkey}, Row{kUnused, kClasses, "Bar.Class", kSubkey}}},
        {"neither key present", "", {}},
    };
    ExpectRows(checktest::kFileExtensions, cases);
}

// The per-user key of a type holds the user's default program and "Open with" choices: it is
// kept while any of them still leads somewhere.
TEST(FileExtensionsCheck, ThePerUserKeyOfAChoiceThatResolvesIsKept) {
    const std::string ext =
        "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\."
        "zzz";
    const std::string userChoice = ext + "\\UserChoice]\n\"ProgId\"=\"Gone.Doc\"\n";
    const std::string progIds = ext + "\\OpenWithProgids]\n\"Zzz.Doc\"=\"\"\n";
    const std::string openWith = ext + "\\OpenWithList]\n\"a\"=\"zzz.exe\"\n\"MRUList\"=\"a\"\n";
    const struct {
        const char* name;
        std::string regText;
        bool reported;
    } kCases[] = {
        {"the user's default program", userChoice, false},
        {"an Open with class that is registered",
         progIds + "[HKEY_CLASSES_ROOT\\Zzz.Doc]\n@=\"Zzz\"\n", false},
        {"an Open with class that is gone", progIds, true},
        {"an Open with program registered under Applications",
         openWith + "[HKEY_CLASSES_ROOT\\Applications\\zzz.exe\\shell\\open\\command]\n"
                    "@=\"C:\\\\Program Files\\\\App\\\\app.exe \\\"%1\\\"\"\n",
         false},
        {"an Open with program whose registration names a program that is gone",
         openWith + "[HKEY_CLASSES_ROOT\\Applications\\zzz.exe\\shell\\open\\command]\n"
                    "@=\"C:\\\\Gone\\\\zzz.exe \\\"%1\\\"\"\n",
         true},
        {"an Open with program with an application path",
         openWith + "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\App "
                    "Paths\\ZZZ.EXE]\n"
                    "@=\"C:\\\\Program Files\\\\App\\\\app.exe\"\n",
         false},
        {"an Open with program Windows cannot find", openWith, true},
        {"the list's order value names no program",
         ext + "\\OpenWithList]\n\"MRUList\"=\"zzz.exe\"\n[HKEY_CLASSES_ROOT\\Applications\\zzz."
               "exe]\n",
         true},
    };
    for (const auto& row : kCases) {
        SCOPED_TRACE(row.name);
        CheckFixture fixture;
        fixture.Load(row.regText);
        const std::vector<Row> expected = {Row{kUnused, kFileExts, ".zzz", kSubkey}};
        EXPECT_EQ(fixture.Run(checktest::kFileExtensions),
                  row.reported ? expected : std::vector<Row>{});
    }
}

TEST(FileExtensionsCheck, UnregisteredPerUserExtensions) {
    ExpectRows(
        checktest::kFileExtensions,
        {
            {"an extension with settings but no class key",
             R"([HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\FileExts\.zzz\OpenWithList]
"a"="zzz.exe"
"MRUList"="a"
)",
             {Row{kUnused, kFileExts, ".zzz", kSubkey}}},
            {"a registered extension, its class key in another letter case",
             R"([HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\FileExts\.txt]
[HKEY_CLASSES_ROOT\.TXT]
@="txtfile"
)",
             {}},
            {"only a key directly under the classes root counts",
             R"([HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\FileExts\.zzz]
[HKEY_CLASSES_ROOT\Other\.zzz]
[HKEY_LOCAL_MACHINE\Software\Classes\.zzz]
@="zzzfile"
)",
             {Row{kUnused, kFileExts, ".zzz", kSubkey}}},
            {"the machine pass comes first",
             R"([HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\FileExts\.zzz]
[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\FileExts\.doc]
[HKEY_CLASSES_ROOT\.doc]
[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\FileExts\.yyy]
[HKEY_LOCAL_MACHINE\Software\Classes\.abc]
@=""
)",
             {Row{kUnused, kClasses, ".abc", kSubkey}, Row{kUnused, kFileExts, ".yyy", kSubkey},
              Row{kUnused, kFileExts, ".zzz", kSubkey}}},
        });
}

TEST(FileExtensionsCheck, ShowsEveryKeyItJudges) {
    CheckFixture fixture;
    fixture.Load(R"([HKEY_LOCAL_MACHINE\Software\Classes\.abc]
@=""
[HKEY_LOCAL_MACHINE\Software\Classes\.abc\Sub]
[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\FileExts\.zzz]
)");
    fixture.Run(checktest::kFileExtensions);
    EXPECT_EQ(fixture.sink.Events().front(),
              "caption " + checktest::ProgressCaptionOf(checktest::kFileExtensions));
    EXPECT_THAT(
        fixture.ProgressKeys(),
        ElementsAre("Software\\Classes\\.abc",
                    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\.zzz"));
}

TEST(FileExtensionsCheck, UnopenableKeysAreNotReportedAndDoNotEndTheCheck) {
    CheckFixture fixture;
    fixture.Load(R"([HKEY_LOCAL_MACHINE\Software\Classes\.locked]
@=""
[HKEY_LOCAL_MACHINE\Software\Classes\.abc]
@=""
[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\FileExts\.zzz]
)");
    fixture.registry.RefuseOpen(RootKey::LocalMachine, "Software\\Classes\\.locked");
    EXPECT_THAT(fixture.Run(checktest::kFileExtensions),
                ElementsAre(Row{kUnused, kClasses, ".abc", kSubkey},
                            Row{kUnused, kFileExts, ".zzz", kSubkey}));
}

TEST(FileExtensionsCheck, AnUnopenableClassesKeyLeavesThePerUserPass) {
    CheckFixture fixture;
    fixture.Load(R"([HKEY_LOCAL_MACHINE\Software\Classes\.abc]
@=""
[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\FileExts\.zzz]
)");
    fixture.registry.RefuseOpen(RootKey::LocalMachine, "Software\\Classes");
    EXPECT_THAT(fixture.Run(checktest::kFileExtensions),
                ElementsAre(Row{kUnused, kFileExts, ".zzz", kSubkey}));
}

// A name listed with '?' for characters the code page lacks cannot be looked up by that name.
TEST(FileExtensionsCheck, ANameThatMayHaveLostCharactersIsNotReported) {
    CheckFixture fixture;
    fixture.Load(
        R"([HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\FileExts\.?zz]
[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\FileExts\.zzz]
)");
    EXPECT_THAT(fixture.Run(checktest::kFileExtensions),
                ElementsAre(Row{kUnused, kFileExts, ".?zz", kSubkey},
                            Row{kUnused, kFileExts, ".zzz", kSubkey}));
    fixture.sink.issues.clear();
    fixture.registry.MarkInexactName(
        RootKey::CurrentUser,
        "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\.?zz", std::nullopt);
    EXPECT_THAT(fixture.Run(checktest::kFileExtensions),
                ElementsAre(Row{kUnused, kFileExts, ".zzz", kSubkey}));
}

TEST(FileExtensionsCheck, AReadErrorPassesOutKeepingEarlierRows) {
    CheckFixture fixture;
    fixture.Load(R"([HKEY_LOCAL_MACHINE\Software\Classes\.abc]
@=""
[HKEY_LOCAL_MACHINE\Software\Classes\.bad]
@=""
)");
    fixture.registry.FailRead(RootKey::LocalMachine, "Software\\Classes\\.bad", "");
    EXPECT_THROW(fixture.Run(checktest::kFileExtensions), RegistryError);
    EXPECT_THAT(fixture.Rows(), ElementsAre(Row{kUnused, kClasses, ".abc", kSubkey}));
}

TEST(FileExtensionsCheck, AStopBetweenEntriesEndsTheCheck) {
    CheckFixture fixture;
    fixture.Load(R"([HKEY_LOCAL_MACHINE\Software\Classes\.abc]
@=""
[HKEY_LOCAL_MACHINE\Software\Classes\.def]
@=""
[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\FileExts\.zzz]
)");
    fixture.sink.onIssue = [&](const ScanIssue&) { fixture.stop = true; };
    EXPECT_THROW(fixture.Run(checktest::kFileExtensions), ScanStopped);
    EXPECT_THAT(fixture.Rows(), ElementsAre(Row{kUnused, kClasses, ".abc", kSubkey}));
}

}  // namespace
}  // namespace vantrel
