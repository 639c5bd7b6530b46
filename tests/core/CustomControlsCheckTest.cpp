// Custom Controls (13) and the default-value walk it runs over the class tree.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "scan/checks/DefaultValueWalker.h"
#include "tests/core/CheckTestFixture.h"

namespace vantrel {
namespace {

using checktest::CheckCase;
using checktest::CheckFixture;
using checktest::ExpectRows;
using checktest::Row;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::string kIssue = checktest::ProblemOf(checktest::kCustomControls);
constexpr RepairKind kKey = RepairKind::DeleteKey;

TEST(CustomControlsCheck, JudgesTheDefaultValueOfEveryKey) {
    ExpectRows(
        checktest::kCustomControls,
        {
            {"a missing in-process server",
             R"([HKEY_CLASSES_ROOT\CLSID\{X}]
@="X Control"
[HKEY_CLASSES_ROOT\CLSID\{X}\InprocServer32]
@="C:\\Gone\\x.dll"
"ThreadingModel"="Apartment"
)",
             {Row{kIssue, "HKEY_CLASSES_ROOT\\CLSID\\{X}\\InprocServer32", "C:\\Gone\\x.dll",
                  kKey}}},
            {"a present server",
             R"([HKEY_CLASSES_ROOT\CLSID\{X}\InprocServer32]
@="C:\\Lib\\present.dll"
)",
             {}},
            {"a local server command line whose program exists",
             R"([HKEY_CLASSES_ROOT\CLSID\{X}\LocalServer32]
@="\"C:\\Program Files\\App\\app.exe\" /automation"
)",
             {}},
            {"an icon index after a missing file",
             R"([HKEY_CLASSES_ROOT\CLSID\{X}\DefaultIcon]
@="C:\\Gone\\icons.dll,3"
)",
             {Row{kIssue, "HKEY_CLASSES_ROOT\\CLSID\\{X}\\DefaultIcon", "C:\\Gone\\icons.dll,3",
                  kKey}}},
            {"an expandable string is judged, not expanded in the row",
             R"([HKEY_CLASSES_ROOT\CLSID\{X}\InprocServer32]
@=hex(2):43,3a,5c,47,6f,6e,65,5c,65,2e,64,6c,6c,00
)",
             {Row{kIssue, "HKEY_CLASSES_ROOT\\CLSID\\{X}\\InprocServer32", "C:\\Gone\\e.dll",
                  kKey}}},
            {"an existing folder is not a present file",
             R"([HKEY_CLASSES_ROOT\CLSID\{X}\InprocServer32]
@="C:\\Existing"
)",
             {Row{kIssue, "HKEY_CLASSES_ROOT\\CLSID\\{X}\\InprocServer32", "C:\\Existing", kKey}}},
            {"texts without a fixed-drive path",
             R"([HKEY_CLASSES_ROOT\CLSID\{X}]
@="Some Class"
[HKEY_CLASSES_ROOT\CLSID\{X}\InprocServer32]
@="x.dll"
[HKEY_CLASSES_ROOT\CLSID\{X}\LocalServer32]
@="D:\\Gone\\x.exe"
[HKEY_CLASSES_ROOT\CLSID\{X}\Empty]
@=""
)",
             {}},
            {"named values and other types are not judged",
             R"([HKEY_CLASSES_ROOT\CLSID\{X}\InprocServer32]
"Path"="C:\\Gone\\x.dll"
[HKEY_CLASSES_ROOT\CLSID\{Y}\InprocServer32]
@=hex:43,3a,5c,47,00
[HKEY_CLASSES_ROOT\CLSID\{Z}\InprocServer32]
@=dword:00000001
)",
             {}},
            {"depth first, each key before its subkeys",
             R"([HKEY_CLASSES_ROOT\CLSID\{A}]
@="C:\\Gone\\a.exe"
[HKEY_CLASSES_ROOT\CLSID\{A}\InprocServer32]
@="C:\\Gone\\a.dll"
[HKEY_CLASSES_ROOT\CLSID\{A}\InprocServer32\Deeper]
@="C:\\Gone\\deep.dll"
[HKEY_CLASSES_ROOT\CLSID\{B}\InprocServer32]
@="C:\\Gone\\b.dll"
)",
             {Row{kIssue, "HKEY_CLASSES_ROOT\\CLSID\\{A}", "C:\\Gone\\a.exe", kKey},
              Row{kIssue, "HKEY_CLASSES_ROOT\\CLSID\\{A}\\InprocServer32", "C:\\Gone\\a.dll", kKey},
              Row{kIssue, "HKEY_CLASSES_ROOT\\CLSID\\{A}\\InprocServer32\\Deeper",
                  "C:\\Gone\\deep.dll", kKey},
              Row{kIssue, "HKEY_CLASSES_ROOT\\CLSID\\{B}\\InprocServer32", "C:\\Gone\\b.dll",
                  kKey}}},
            {"no class tree", "", {}},
        });
}

// The starting key is judged too, but deleting it would take every class registration with
// it: its row removes only the default value.
TEST(CustomControlsCheck, TheStartingKeyIsJudgedAndOnlyItsDefaultValueOffered) {
    CheckFixture fixture;
    fixture.Load(R"([HKEY_CLASSES_ROOT\CLSID]
@="C:\\Gone\\root.dll"
[HKEY_CLASSES_ROOT\CLSID\{X}\InprocServer32]
@="C:\\Gone\\x.dll"
)");
    EXPECT_THAT(fixture.Run(checktest::kCustomControls),
                ElementsAre(Row{kIssue, "HKEY_CLASSES_ROOT\\CLSID", "C:\\Gone\\root.dll",
                                RepairKind::DeleteDefaultValue},
                            Row{kIssue, "HKEY_CLASSES_ROOT\\CLSID\\{X}\\InprocServer32",
                                "C:\\Gone\\x.dll", kKey}));
}

TEST(CustomControlsCheck, ShowsEveryKeyOpenedBeforeAnyTest) {
    CheckFixture fixture;
    fixture.Load(R"([HKEY_CLASSES_ROOT\CLSID\{A}\InprocServer32]
@=dword:00000001
[HKEY_CLASSES_ROOT\CLSID\{B}]
)");
    fixture.Run(checktest::kCustomControls);
    EXPECT_EQ(fixture.sink.Events().front(),
              "caption " + checktest::ProgressCaptionOf(checktest::kCustomControls));
    EXPECT_THAT(fixture.ProgressKeys(),
                ElementsAre("CLSID", "CLSID\\{A}", "CLSID\\{A}\\InprocServer32", "CLSID\\{B}"));
}

TEST(CustomControlsCheck, AKeyThatCannotBeOpenedHidesItsSubtree) {
    CheckFixture fixture;
    fixture.Load(R"([HKEY_CLASSES_ROOT\CLSID\{Locked}]
@="C:\\Gone\\locked.exe"
[HKEY_CLASSES_ROOT\CLSID\{Locked}\InprocServer32]
@="C:\\Gone\\locked.dll"
[HKEY_CLASSES_ROOT\CLSID\{Open}\InprocServer32]
@="C:\\Gone\\open.dll"
)");
    fixture.registry.RefuseOpen(RootKey::ClassesRoot, "CLSID\\{Locked}");
    EXPECT_THAT(fixture.Run(checktest::kCustomControls),
                ElementsAre(Row{kIssue, "HKEY_CLASSES_ROOT\\CLSID\\{Open}\\InprocServer32",
                                "C:\\Gone\\open.dll", kKey}));
    EXPECT_THAT(fixture.ProgressKeys(),
                ElementsAre("CLSID", "CLSID\\{Open}", "CLSID\\{Open}\\InprocServer32"));
}

TEST(CustomControlsCheck, AReadErrorPassesOutKeepingEarlierRows) {
    CheckFixture fixture;
    fixture.Load(R"([HKEY_CLASSES_ROOT\CLSID\{A}]
@="C:\\Gone\\a.dll"
[HKEY_CLASSES_ROOT\CLSID\{Bad}]
@="C:\\Gone\\bad.dll"
[HKEY_CLASSES_ROOT\CLSID\{C}]
@="C:\\Gone\\c.dll"
)");
    fixture.registry.FailRead(RootKey::ClassesRoot, "CLSID\\{Bad}", "");
    EXPECT_THROW(fixture.Run(checktest::kCustomControls), RegistryError);
    EXPECT_THAT(fixture.Rows(),
                ElementsAre(Row{kIssue, "HKEY_CLASSES_ROOT\\CLSID\\{A}", "C:\\Gone\\a.dll", kKey}));
}

TEST(CustomControlsCheck, AStopBetweenKeysEndsTheWalk) {
    CheckFixture fixture;
    fixture.Load(R"([HKEY_CLASSES_ROOT\CLSID\{A}]
@="C:\\Gone\\a.dll"
[HKEY_CLASSES_ROOT\CLSID\{A}\InprocServer32]
@="C:\\Gone\\a.dll"
[HKEY_CLASSES_ROOT\CLSID\{B}]
@="C:\\Gone\\b.dll"
)");
    fixture.sink.onIssue = [&](const ScanIssue&) { fixture.stop = true; };
    EXPECT_THROW(fixture.Run(checktest::kCustomControls), ScanStopped);
    EXPECT_EQ(fixture.Rows().size(), 1u);
    EXPECT_THAT(fixture.ProgressKeys(), ElementsAre("CLSID", "CLSID\\{A}"));
}

TEST(DefaultValueWalker, OnlyTheScannedRootsAreWalked) {
    CheckFixture fixture;
    fixture.Load(R"([HKEY_CURRENT_CONFIG\Tree\Leaf]
@="C:\\Gone\\leaf.exe"
)");
    ScanContext context = fixture.WalkerContext();
    const DefaultValueWalkRules rules{RepairKind::DeleteKey, nullptr, true};
    WalkDefaultValues(context, RootKey::CurrentConfig, "Tree", rules);
    WalkDefaultValues(context, RootKey::None, "Tree", rules);
    WalkDefaultValues(context, RootKey::PerformanceData, "Tree", rules);
    EXPECT_THAT(fixture.Rows(), ElementsAre(Row{"Caption", "HKEY_CURRENT_CONFIG\\Tree\\Leaf",
                                                "C:\\Gone\\leaf.exe", kKey}));
}

TEST(DefaultValueWalker, ADeepTreeIsWalkedToTheBottom) {
    CheckFixture fixture;
    std::string path = "CLSID";
    for (int depth = 0; depth < 40; ++depth) {
        path += "\\K" + std::to_string(depth);
        fixture.registry.SetString(RootKey::ClassesRoot, path, "", "C:\\Gone\\k.dll");
        fixture.registry.AddKey(RootKey::ClassesRoot, path + "\\Side");
    }
    EXPECT_EQ(fixture.Run(checktest::kCustomControls).size(), 40u);
    EXPECT_EQ(fixture.ProgressKeys().size(), 81u);
}

// The class tree holds tens of thousands of keys: at most an open, a type query, a read and a
// subkey listing per key.
TEST(DefaultValueWalker, AsksTheRegistryAFewTimesPerKey) {
    CheckFixture fixture;
    constexpr size_t kClasses = 200;
    for (size_t i = 0; i < kClasses; ++i) {
        const std::string classPath = "CLSID\\{" + std::to_string(i) + "}";
        fixture.registry.SetString(RootKey::ClassesRoot, classPath, "", "Class");
        fixture.registry.SetString(RootKey::ClassesRoot, classPath, "AppID", "{A}");
        fixture.registry.SetString(RootKey::ClassesRoot, classPath + "\\InprocServer32", "",
                                   "C:\\Lib\\present.dll");
        fixture.registry.SetString(RootKey::ClassesRoot, classPath + "\\InprocServer32",
                                   "ThreadingModel", "Both");
    }
    const size_t before = fixture.registry.CallCount();
    EXPECT_THAT(fixture.Run(checktest::kCustomControls), IsEmpty());
    const size_t keys = 2 * kClasses + 1;
    EXPECT_LE(fixture.registry.CallCount() - before, 4 * keys);
}

}  // namespace
}  // namespace vantrel
