// Windows Fonts (7) and Help File Paths (8).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/core/CheckTestFixture.h"

namespace vantrel {
namespace {

using checktest::CheckFixture;
using checktest::Row;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::string kFontsIssue = checktest::ProblemOf(checktest::kWindowsFonts);
constexpr const char* kNtFonts =
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts\\";
constexpr RepairKind kValue = RepairKind::DeleteValueInKey;

class FontsCheckTest : public ::testing::Test {
  protected:
    FontsCheckTest() {
        fixture.files.SetSpecialFolder(specialfolder::kFonts, "C:\\Windows\\Fonts");
        fixture.files.AddFile("C:\\Windows\\Fonts\\arial.ttf");
        fixture.files.AddDirectory("C:\\Windows\\Fonts\\folder.fon");
        fixture.files.AddFile("C:\\Fonts\\mine.ttf");
    }
    CheckFixture fixture;
};

TEST_F(FontsCheckTest, ComparesEntriesWithTheFolderFileNames) {
    fixture.Load(R"reg([HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\Fonts]
"Arial (TrueType)"="ARIAL.TTF"
"Gone (TrueType)"="gone.ttf"
"Full path"="C:\\Windows\\Fonts\\arial.ttf"
"Elsewhere"="C:\\Fonts\\mine.ttf"
"Gone path"="C:\\Fonts\\gone.ttf"
"Share path"="\\\\server\\fonts\\gone.ttf"
"Removable path"="D:\\Fonts\\gone.ttf"
"A folder"="folder.fon"
"Number"=dword:00000001
)reg");
    EXPECT_THAT(
        fixture.Run(checktest::kWindowsFonts),
        ElementsAre(
            Row{kFontsIssue, std::string(kNtFonts) + "Gone (TrueType)", "gone.ttf", kValue},
            // A path is judged by its own file, where a fixed disk can answer for it.
            Row{kFontsIssue, std::string(kNtFonts) + "Gone path", "C:\\Fonts\\gone.ttf", kValue},
            Row{kFontsIssue, std::string(kNtFonts) + "A folder", "folder.fon", kValue}));
    EXPECT_THAT(fixture.ProgressKeys(),
                ElementsAre("Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts"));
}

TEST_F(FontsCheckTest, TheWindowsVersionChoosesTheKey) {
    fixture.Load(R"([HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\Fonts]
"Nt"="nt.ttf"
[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Fonts]
"Nine"="nine.ttf"
)");
    const Row ntRow{kFontsIssue, std::string(kNtFonts) + "Nt", "nt.ttf", kValue};
    const Row nineRow{
        kFontsIssue,
        "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Fonts\\Nine", "nine.ttf",
        kValue};
    for (int code : {5, 6, 7, 9, 10}) {
        SCOPED_TRACE(code);
        fixture.sink.issues.clear();
        EXPECT_THAT(fixture.Run(checktest::kWindowsFonts, static_cast<WindowsVersion>(code)),
                    ElementsAre(ntRow));
    }
    for (int code : {1, 3, 8}) {
        SCOPED_TRACE(code);
        fixture.sink.issues.clear();
        EXPECT_THAT(fixture.Run(checktest::kWindowsFonts, static_cast<WindowsVersion>(code)),
                    ElementsAre(nineRow));
    }
}

TEST_F(FontsCheckTest, AFontsFolderWithATrailingBackslashIsListedTheSame) {
    fixture.files.SetSpecialFolder(specialfolder::kFonts, "C:\\Windows\\Fonts\\");
    fixture.Load(R"reg([HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\Fonts]
"Arial (TrueType)"="arial.ttf"
)reg");
    EXPECT_THAT(fixture.Run(checktest::kWindowsFonts), IsEmpty());
}

// Without a fonts folder to compare with, no font is known to be missing.
TEST_F(FontsCheckTest, WithoutAFontsFolderTheCheckEndsWithoutRows) {
    fixture.Load(R"reg([HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\Fonts]
"Arial (TrueType)"="arial.ttf"
"Gone path"="C:\\Fonts\\gone.ttf"
)reg");
    for (const char* folder : {"", "C:\\No Fonts"}) {
        SCOPED_TRACE(folder);
        fixture.files.SetSpecialFolder(specialfolder::kFonts, folder);
        EXPECT_THAT(fixture.Run(checktest::kWindowsFonts), IsEmpty());
    }
}

// A font whose name the code page lacks is listed by its short name, while the registry gives
// its name with '?' in place of the lost characters: neither is taken for a missing font.
TEST_F(FontsCheckTest, NamesReadInexactlyAreNeverTakenForMissing) {
    fixture.files.AddFile("C:\\Windows\\Fonts\\Long Font Name.ttf");
    fixture.files.AddShortName("C:\\Windows\\Fonts\\Long Font Name.ttf",
                               "C:\\Windows\\Fonts\\LONGFO~1.TTF");
    fixture.Load(R"reg([HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\Fonts]
"Lossy (TrueType)"="?ong.ttf"
"Short (TrueType)"="LONGFO~1.TTF"
"Gone (TrueType)"="gone.ttf"
)reg");
    EXPECT_THAT(fixture.Run(checktest::kWindowsFonts),
                ElementsAre(Row{kFontsIssue, std::string(kNtFonts) + "Gone (TrueType)", "gone.ttf",
                                kValue}));
}

const std::string kHelpIssue = checktest::ProblemOf(checktest::kHelpFilePaths);
constexpr const char* kHelpKey = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\Help\\";
constexpr const char* kHtmlHelpKey =
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\Html Help\\";

class HelpFilesCheckTest : public ::testing::Test {
  protected:
    HelpFilesCheckTest() { fixture.files.AddFile("C:\\Windows\\Help\\present.hlp"); }
    CheckFixture fixture;
};

TEST_F(HelpFilesCheckTest, ReportsHelpFilesMissingFromTheirFolder) {
    fixture.Load(R"([HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\Help]
"present.hlp"="C:\\Windows\\Help"
"gone.hlp"="C:\\Windows\\Help\\"
"empty.hlp"=""
"removable.hlp"="D:\\Help"
"both.hlp"="C:\\Missing"
[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\Html Help]
"both.hlp"="C:\\Missing"
"present.hlp"="C:\\Windows\\Help\\"
)");
    EXPECT_THAT(fixture.Run(checktest::kHelpFilePaths),
                ElementsAre(Row{kHelpIssue, std::string(kHelpKey) + "gone.hlp",
                                "C:\\Windows\\Help\\gone.hlp", kValue},
                            Row{kHelpIssue, std::string(kHelpKey) + "both.hlp",
                                "C:\\Missing\\both.hlp", kValue},
                            Row{kHelpIssue, std::string(kHtmlHelpKey) + "both.hlp",
                                "C:\\Missing\\both.hlp", kValue}));
    EXPECT_THAT(fixture.ProgressKeys(), ElementsAre("Software\\Microsoft\\Windows\\Help",
                                                    "Software\\Microsoft\\Windows\\Html Help"));
}

TEST_F(HelpFilesCheckTest, TheSecondKeyIsExaminedWhenTheFirstCannotBeOpened) {
    fixture.Load(R"([HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\Html Help]
"gone.chm"="C:\\Missing"
)");
    EXPECT_THAT(fixture.Run(checktest::kHelpFilePaths),
                ElementsAre(Row{kHelpIssue, std::string(kHtmlHelpKey) + "gone.chm",
                                "C:\\Missing\\gone.chm", kValue}));
}

// A number where a folder belongs is passed over rather than failing the read (and with it the
// whole scan); a value of zero length still reads as an empty folder, whatever its type.
// Only text names a folder. A value of another type, even one of zero length, names none, and a
// name read inexactly names another value: each is passed over, and the scan goes on.
TEST_F(HelpFilesCheckTest, ValuesThatNameNoFolderArePassedOver) {
    fixture.Load(R"([HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\Help]
"number.hlp"=dword:00000005
"binary.hlp"=hex:43,3a,5c
"?nexact.hlp"="C:\\Missing"
"after.hlp"="C:\\Missing"
)");
    const std::string helpKey = "Software\\Microsoft\\Windows\\Help";
    fixture.registry.SetValue(RootKey::LocalMachine, helpKey, "zero.hlp", regtype::kBinary, {});
    fixture.registry.MarkInexactName(RootKey::LocalMachine, helpKey, "?nexact.hlp");
    EXPECT_THAT(fixture.Run(checktest::kHelpFilePaths),
                ElementsAre(Row{kHelpIssue, std::string(kHelpKey) + "after.hlp",
                                "C:\\Missing\\after.hlp", kValue}));
}

TEST_F(HelpFilesCheckTest, AReadErrorPassesOut) {
    fixture.Load(R"([HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\Help]
"broken.hlp"="C:\\Missing"
)");
    fixture.registry.FailRead(RootKey::LocalMachine, "Software\\Microsoft\\Windows\\Help",
                              "broken.hlp");
    EXPECT_THROW(fixture.Run(checktest::kHelpFilePaths), RegistryError);
}

}  // namespace
}  // namespace vantrel
