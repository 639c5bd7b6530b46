#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/status/StatusCounts.h"
#include "scan/IgnoreFilter.h"
#include "scan/RowTarget.h"

namespace vantrel {
namespace {

ScanIssue Row(const char* keyText, const char* valueText, RepairKind kind,
              const char* problem = "Problem") {
    return ScanIssue{problem, keyText, valueText, kind};
}

TEST(RowTarget, EachRepairKind) {
    using Kind = RowTarget::Kind;
    struct Case {
        const char* name;
        ScanIssue row;
        Kind kind;
        RootKey root;
        const char* keyPath;
        const char* valueName;
        const char* filePath;
        const char* keyText;
        const char* valueText;
    };
    const Case cases[] = {
        {"0 key", Row("HKEY_LOCAL_MACHINE\\SOFTWARE\\Abc", "", RepairKind::DeleteKey), Kind::Key,
         RootKey::LocalMachine, "SOFTWARE\\Abc", "", "", "HKEY_LOCAL_MACHINE\\SOFTWARE\\Abc", ""},
        {"1 value named by the last segment",
         Row("HKEY_CURRENT_USER\\Software\\X\\Path", "c:\\gone.exe", RepairKind::DeleteValueInKey),
         Kind::Value, RootKey::CurrentUser, "Software\\X", "Path", "",
         "HKEY_CURRENT_USER\\Software\\X", "Path"},
        {"1 value directly below the root",
         Row("HKEY_CURRENT_USER\\Name", "", RepairKind::DeleteValueInKey), Kind::Value,
         RootKey::CurrentUser, "", "Name", "", "HKEY_CURRENT_USER", "Name"},
        // The last "\" splits, so only the part after it is taken as the value name.
        {"1 value name that held a backslash",
         Row("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\SharedDLLs\\C:\\Windows\\a.dll", "",
             RepairKind::DeleteValueInKey),
         Kind::Value, RootKey::LocalMachine, "SOFTWARE\\Microsoft\\SharedDLLs\\C:\\Windows",
         "a.dll", "", "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\SharedDLLs\\C:\\Windows", "a.dll"},
        {"1 key text ending in a backslash",
         Row("HKEY_CURRENT_USER\\Software\\X\\", "", RepairKind::DeleteValueInKey), Kind::Value,
         RootKey::CurrentUser, "Software\\X", "", "", "HKEY_CURRENT_USER\\Software\\X", ""},
        {"2 value named in the value column",
         Row("HKEY_CURRENT_USER\\Software\\X", "Run Me", RepairKind::DeleteNamedValue), Kind::Value,
         RootKey::CurrentUser, "Software\\X", "Run Me", "", "HKEY_CURRENT_USER\\Software\\X",
         "Run Me"},
        {"2 value name with a backslash",
         Row("HKEY_CURRENT_USER\\Software\\X", "C:\\a\\b.dll", RepairKind::DeleteNamedValue),
         Kind::Value, RootKey::CurrentUser, "Software\\X", "C:\\a\\b.dll", "",
         "HKEY_CURRENT_USER\\Software\\X", "C:\\a\\b.dll"},
        {"3 subkey named in the value column",
         Row("HKEY_CLASSES_ROOT\\CLSID", "{1234}", RepairKind::DeleteSubkey), Kind::Key,
         RootKey::ClassesRoot, "CLSID\\{1234}", "", "", "HKEY_CLASSES_ROOT\\CLSID\\{1234}", ""},
        {"4 file",
         Row("C:\\Documents\\Start Menu\\Old.lnk", "C:\\gone.exe", RepairKind::DeleteNamedFile),
         Kind::File, RootKey::None, "", "", "C:\\Documents\\Start Menu\\Old.lnk", "", ""},
        {"5 default value", Row("HKEY_CLASSES_ROOT\\.abc", "", RepairKind::DeleteDefaultValue),
         Kind::DefaultValue, RootKey::ClassesRoot, ".abc", "", "", "HKEY_CLASSES_ROOT\\.abc", "@"},
        {"root in small letters", Row("hkey_users\\S-1", "", RepairKind::DeleteKey), Kind::Key,
         RootKey::Users, "S-1", "", "", "hkey_users\\S-1", ""},
        {"no backslash", Row("HKEY_CURRENT_USER", "x", RepairKind::DeleteNamedValue), Kind::Nothing,
         RootKey::None, "", "", "", "", ""},
        {"file without backslash", Row("gone.lnk", "", RepairKind::DeleteNamedFile), Kind::Nothing,
         RootKey::None, "", "", "", "", ""},
        {"unknown kind", Row("HKEY_CURRENT_USER\\X", "", static_cast<RepairKind>(6)), Kind::Nothing,
         RootKey::None, "", "", "", "", ""},
        {"negative kind", Row("HKEY_CURRENT_USER\\X", "", static_cast<RepairKind>(-1)),
         Kind::Nothing, RootKey::None, "", "", "", "", ""},
    };
    for (const Case& c : cases) {
        const RowTarget target = RowTargetOf(c.row);
        EXPECT_EQ(target.kind, c.kind) << c.name;
        EXPECT_EQ(target.root, c.root) << c.name;
        EXPECT_EQ(target.keyPath, c.keyPath) << c.name;
        EXPECT_EQ(target.valueName, c.valueName) << c.name;
        EXPECT_EQ(target.filePath, c.filePath) << c.name;
        if (target.kind != Kind::Nothing && target.kind != Kind::File) {
            EXPECT_EQ(target.KeyText(), c.keyText) << c.name;
            EXPECT_EQ(target.ValueText(), c.valueText) << c.name;
        }
    }
}

TEST(IgnoreFilter, Rules) {
    using List = std::vector<std::string>;
    struct Case {
        const char* name;
        ScanIssue row;
        List values;
        List keys;
        bool dropped;
    };
    const char* abcPath = "HKEY_LOCAL_MACHINE\\SOFTWARE\\ABC\\Path";
    const Case cases[] = {
        {"value row, kind 1, other letter case",
         Row("hkey_local_machine\\software\\abc\\path", "", RepairKind::DeleteValueInKey),
         {abcPath},
         {},
         true},
        {"value row, kind 2, other letter case",
         Row("hkey_local_machine\\software\\abc", "PATH", RepairKind::DeleteNamedValue),
         {abcPath},
         {},
         true},
        {"value row, other value name",
         Row("HKEY_LOCAL_MACHINE\\SOFTWARE\\ABC", "Path2", RepairKind::DeleteNamedValue),
         {abcPath},
         {},
         false},
        {"value row compared whole, not by containment",
         Row("HKEY_LOCAL_MACHINE\\SOFTWARE\\ABC", "Pat", RepairKind::DeleteNamedValue),
         {abcPath},
         {},
         false},
        {"value row not dropped by the key list",
         Row("HKEY_LOCAL_MACHINE\\SOFTWARE\\ABC", "Path", RepairKind::DeleteNamedValue),
         {},
         {abcPath},
         false},
        {"default value row by an entry ending in @",
         Row("HKEY_LOCAL_MACHINE\\SOFTWARE\\ABC", "", RepairKind::DeleteDefaultValue),
         {"HKEY_LOCAL_MACHINE\\SOFTWARE\\ABC\\@"},
         {},
         true},
        {"default value row not dropped as a key row",
         Row("HKEY_LOCAL_MACHINE\\SOFTWARE\\ABC", "", RepairKind::DeleteDefaultValue),
         {"HKEY_LOCAL_MACHINE\\SOFTWARE\\ABC"},
         {"HKEY_LOCAL_MACHINE\\SOFTWARE\\ABC"},
         false},
        {"value directly below the root",
         Row("HKEY_CURRENT_USER\\Name", "", RepairKind::DeleteValueInKey),
         {"HKEY_CURRENT_USER\\Name"},
         {},
         true},
        {"key row equal to a key entry",
         Row("HKEY_CURRENT_USER\\Software\\X\\Y", "", RepairKind::DeleteKey),
         {},
         {"HKEY_CURRENT_USER\\Software\\X\\Y"},
         true},
        {"key row above a key entry",
         Row("HKEY_CURRENT_USER\\Software\\X", "", RepairKind::DeleteKey),
         {},
         {"HKEY_CURRENT_USER\\Software\\X\\Y"},
         true},
        {"key row below a key entry",
         Row("HKEY_CURRENT_USER\\Software\\X\\Y\\Z", "", RepairKind::DeleteKey),
         {},
         {"HKEY_CURRENT_USER\\Software\\X\\Y"},
         false},
        {"key row found by a value entry",
         Row("HKEY_LOCAL_MACHINE\\SOFTWARE\\ABC", "", RepairKind::DeleteKey),
         {abcPath},
         {},
         true},
        {"key row, letter case folded",
         Row("HKEY_CURRENT_USER\\SOFTWARE\\x", "", RepairKind::DeleteKey),
         {},
         {"hkey_current_user\\software\\X\\y"},
         true},
        {"key row, only a to z fold",
         Row("HKEY_CURRENT_USER\\Software\\\xC4", "", RepairKind::DeleteKey),
         {},
         {"HKEY_CURRENT_USER\\Software\\\xE4"},
         false},
        {"kind 3 subkey row",
         Row("HKEY_CLASSES_ROOT\\CLSID", "{1234}", RepairKind::DeleteSubkey),
         {},
         {"HKEY_CLASSES_ROOT\\CLSID\\{1234}\\InprocServer32"},
         true},
        {"kind 3 parent alone is not its key text",
         Row("HKEY_CLASSES_ROOT\\CLSID", "{1234}", RepairKind::DeleteSubkey),
         {},
         {"HKEY_CLASSES_ROOT\\CLSID"},
         false},
        {"kind 1 without a value name is a key row",
         Row("HKEY_CURRENT_USER\\Software\\X\\", "", RepairKind::DeleteValueInKey),
         {},
         {"HKEY_CURRENT_USER\\Software\\X"},
         true},
        {"kind 2 without a value name is a key row",
         Row("HKEY_CURRENT_USER\\Software\\X", "", RepairKind::DeleteNamedValue),
         {"HKEY_CURRENT_USER\\Software\\X\\Name"},
         {},
         true},
        {"file row never dropped",
         Row("C:\\Menu\\Old.lnk", "", RepairKind::DeleteNamedFile),
         {"C:\\Menu\\Old.lnk", "C:\\Menu\\Old.lnk\\@"},
         {"C:\\Menu\\Old.lnk"},
         false},
        {"no backslash stays",
         Row("HKEY_CURRENT_USER", "", RepairKind::DeleteKey),
         {},
         {"HKEY_CURRENT_USER\\Software"},
         false},
        {"unknown kind stays",
         Row("HKEY_CURRENT_USER\\X", "", static_cast<RepairKind>(9)),
         {},
         {"HKEY_CURRENT_USER\\X"},
         false},
        {"empty entries match nothing",
         Row("HKEY_CURRENT_USER\\Software\\X", "Name", RepairKind::DeleteNamedValue),
         {""},
         {""},
         false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsIgnoredRow(c.row, IgnoreLists{c.values, c.keys}), c.dropped) << c.name;
    }
}

TEST(IgnoreFilter, DropsMatchedRowsOnceAndKeepsTheOrder) {
    const std::vector<ScanIssue> rows = {
        Row("HKEY_CURRENT_USER\\Software\\A", "", RepairKind::DeleteKey, "first"),
        Row("HKEY_CURRENT_USER\\Software\\B", "", RepairKind::DeleteKey, "in both lists"),
        Row("C:\\Menu\\B.lnk", "", RepairKind::DeleteNamedFile, "file"),
        Row("HKEY_CURRENT_USER\\Software\\C", "Name", RepairKind::DeleteNamedValue, "value"),
        Row("HKEY_CURRENT_USER\\Software\\D", "", RepairKind::DeleteKey, "last"),
    };
    const std::vector<std::string> values = {"HKEY_CURRENT_USER\\Software\\B\\x",
                                             "HKEY_CURRENT_USER\\Software\\C\\Name"};
    const std::vector<std::string> keys = {"HKEY_CURRENT_USER\\Software\\B"};
    const IgnoreLists lists{values, keys};

    EXPECT_EQ(IgnoredRowIndexes(rows, lists), (std::vector<size_t>{3, 1}));
    EXPECT_EQ(ApplyIgnoreLists(rows, lists), (std::vector<ScanIssue>{rows[0], rows[2], rows[4]}));
}

TEST(IgnoreFilter, EmptyListsAndNoRows) {
    const std::vector<std::string> none;
    const std::vector<ScanIssue> rows = {Row("HKEY_CURRENT_USER\\X", "", RepairKind::DeleteKey)};
    EXPECT_EQ(ApplyIgnoreLists(rows, IgnoreLists{none, none}), rows);
    EXPECT_TRUE(ApplyIgnoreLists({}, IgnoreLists{none, none}).empty());
    EXPECT_TRUE(IgnoredRowIndexes({}, IgnoreLists{none, none}).empty());
}

TEST(StatusCounts, PanelTexts) {
    struct Case {
        const char* name;
        std::vector<bool> ticks;
        size_t review;
        const char* found;
        const char* selected;
        const char* toReview;
    };
    const Case cases[] = {
        {"nothing found", {}, 0, " 0 problems found", " 0 problems selected for repairing", ""},
        {"some ticked, one to review",
         {true, false, true},
         1,
         " 3 problems found",
         " 2 problems selected for repairing",
         " 1 of them to review"},
        {"no grouping", std::vector<bool>(1234, true), 0, " 1234 problems found",
         " 1234 problems selected for repairing", ""},
    };
    for (const Case& c : cases) {
        const StatusCounts counts = CountStatus(c.ticks, c.review);
        EXPECT_EQ(FoundPanelText(counts), c.found) << c.name;
        EXPECT_EQ(SelectedPanelText(counts), c.selected) << c.name;
        EXPECT_EQ(ReviewPanelText(counts), c.toReview) << c.name;
    }
}

}  // namespace
}  // namespace vantrel
