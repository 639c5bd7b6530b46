// MRU and History Lists: the open/save history's own values, then one walk per extension list.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "tests/core/CheckTestFixture.h"

namespace vantrel {
namespace {

using checktest::CheckFixture;
using checktest::Row;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::string kMissing = checktest::ProblemOf(checktest::kMruLists);
constexpr RepairKind kValue = RepairKind::DeleteValueInKey;
constexpr const char* kMruPath =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU";
const std::string kMruKeyText = std::string("HKEY_CURRENT_USER\\") + kMruPath;
const std::string kMruLine =
    "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\"
    "OpenSaveMRU]\r\n";

std::string SubkeyLine(const char* subkey) {
    return kMruLine.substr(0, kMruLine.size() - 3) + "\\" + subkey + "]\r\n";
}

// A string in registry text: quoted, backslashes doubled.
std::string RegQuoted(std::string_view text) {
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '\\')
            quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

// One value "a" held by OpenSaveMRU itself, with the extension subkeys and files given.
struct OwnValueCase {
    const char* name;
    const char* text;
    std::vector<const char*> subkeys;
    std::vector<const char*> files;
    bool reported;
};

TEST(MruListsCheck, JudgesTheKeysOwnValuesWithEachListedExtension) {
    const std::vector<OwnValueCase> cases = {
        {"found with a listed extension",
         "C:\\Docs\\report",
         {"txt", "doc"},
         {"C:\\Docs\\report.doc"},
         false},
        {"no file for any listed extension", "C:\\Docs\\report", {"txt", "doc"}, {}, true},
        {"only \"*\": reported", "C:\\Docs\\gone.txt", {"*"}, {}, true},
        {"the text itself names an existing file",
         "C:\\Docs\\report.doc",
         {"doc"},
         {"C:\\Docs\\report.doc"},
         false},
        {"the text plus a listed extension exists",
         "C:\\Docs\\report.doc",
         {"doc"},
         {"C:\\Docs\\report.doc.doc"},
         false},
        {"a folder does not count", "C:\\Existing", {"*"}, {}, true},
        {"lower-case drive letter", "c:\\docs\\gone", {}, {}, true},
        {"network path", "\\\\server\\share\\x.txt", {"txt"}, {}, false},
        {"drive that is not fixed", "D:\\x.txt", {"txt"}, {}, false},
        {"no drive", "report.doc", {"doc"}, {}, false},
        {"drive without backslash", "C:report.doc", {"doc"}, {}, false},
    };
    for (const OwnValueCase& valueCase : cases) {
        SCOPED_TRACE(valueCase.name);
        CheckFixture fixture;
        std::string regText;
        for (const char* subkey : valueCase.subkeys)
            regText += SubkeyLine(subkey);
        regText += kMruLine + "\"a\"=" + RegQuoted(valueCase.text) + "\r\n";
        fixture.Load(regText);
        for (const char* file : valueCase.files)
            fixture.files.AddFile(file);
        const std::vector<Row> rows = fixture.Run(checktest::kMruLists);
        if (valueCase.reported)
            EXPECT_THAT(rows,
                        ElementsAre(Row{kMissing, kMruKeyText + "\\a", valueCase.text, kValue}));
        else
            EXPECT_THAT(rows, IsEmpty());
    }
}

TEST(MruListsCheck, WalksEveryExtensionListAfterTheKeysOwnValues) {
    CheckFixture fixture;
    fixture.Load(R"(
[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\ComDlg32\OpenSaveMRU\txt]
"a"="C:\\Program Files\\App\\app.exe"
"b"="C:\\Gone\\list.txt"
"MRUList"="ba"
[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\ComDlg32\OpenSaveMRU\*]
"a"="C:\\Gone\\any.bin"
"n"=dword:00000001
[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\ComDlg32\OpenSaveMRU]
"own"="C:\\Gone\\own"
"number"=dword:00000002
@=""
)");
    EXPECT_THAT(fixture.Run(checktest::kMruLists),
                ElementsAre(Row{kMissing, kMruKeyText + "\\own", "C:\\Gone\\own", kValue},
                            Row{kMissing, kMruKeyText + "\\*\\a", "C:\\Gone\\any.bin", kValue},
                            Row{kMissing, kMruKeyText + "\\txt\\b", "C:\\Gone\\list.txt", kValue}));
    EXPECT_THAT(fixture.ProgressKeys(),
                ElementsAre(std::string(kMruPath), std::string(kMruPath) + "\\*",
                            std::string(kMruPath) + "\\txt"));
}

TEST(MruListsCheck, AMissingOrUnopenableHistoryKeyGivesNoRows) {
    CheckFixture missing;
    EXPECT_THAT(missing.Run(checktest::kMruLists), IsEmpty());

    CheckFixture refused;
    refused.Load(kMruLine + "\"a\"=\"C:\\\\Gone\\\\x\"\r\n");
    refused.registry.RefuseOpen(RootKey::CurrentUser, kMruPath);
    EXPECT_THAT(refused.Run(checktest::kMruLists), IsEmpty());
}

TEST(MruListsCheck, AnUnreadableValuePassesOutOfTheCheck) {
    CheckFixture fixture;
    fixture.Load(kMruLine + "\"a\"=\"C:\\\\Gone\\\\x\"\r\n");
    fixture.registry.FailRead(RootKey::CurrentUser, kMruPath, "a");
    EXPECT_THROW(fixture.Run(checktest::kMruLists), RegistryError);
}

TEST(MruListsCheck, StopsBetweenValues) {
    CheckFixture fixture;
    fixture.Load(kMruLine + "\"a\"=\"C:\\\\Gone\\\\a\"\r\n\"b\"=\"C:\\\\Gone\\\\b\"\r\n");
    fixture.sink.onIssue = [&](const ScanIssue&) { fixture.stop = true; };
    EXPECT_THROW(fixture.Run(checktest::kMruLists), ScanStopped);
    EXPECT_EQ(fixture.Rows().size(), 1u);
}

}  // namespace
}  // namespace vantrel
