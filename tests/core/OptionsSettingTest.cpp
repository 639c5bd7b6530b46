#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>
#include <vector>

#include "platform/memory/MemoryIniFile.h"
#include "settings/IniValues.h"
#include "settings/OptionsSetting.h"
#include "settings/WindowPosition.h"
#include "tests/support/FakeOptionsWindow.h"
#include "tests/support/OptionsRecordText.h"

namespace vantrel {
namespace {

constexpr std::string_view kExeFolder = "C:\\Tools\\";
using test::FakeOptionsWindow;

OptionsSetting Load(const IniFile& file, FakeOptionsWindow& window) {
    OptionsSetting options;
    LoadOptions(file, kExeFolder, window, options);
    return options;
}

OptionsSetting Load(const IniFile& file) {
    FakeOptionsWindow window;
    return Load(file, window);
}

TEST(OptionsLoad, WithoutFileEverythingTakesItsDefault) {
    const OptionsSetting defaults = DefaultOptions(kExeFolder);
    EXPECT_EQ(defaults.OutputDirectory, "C:\\Tools\\backup");
    EXPECT_TRUE(defaults.DeleteBackupFile);
    for (int index = 1; index <= 22; ++index)
        EXPECT_TRUE(defaults.CategoryTicks.IsTicked(index)) << "node " << index;
    EXPECT_TRUE(defaults.IgnoreValueList.empty());
    EXPECT_TRUE(defaults.IgnoreKeyList.empty());
    EXPECT_EQ(defaults.WindowState, WindowShowState::Normal);
    EXPECT_EQ(defaults.SkinIndex, 2);

    const MemoryIniFile file;
    FakeOptionsWindow window;
    EXPECT_EQ(test::OptionsRecordText(Load(file, window)), test::OptionsRecordText(defaults));
    EXPECT_EQ(window.bounds, (WindowRect{169, 110, 686, 548})) << "centred at the design size";
    EXPECT_FALSE(file.Exists()) << "a load never creates the file";
}

TEST(OptionsLoad, ExecutableFolderWithoutTrailingBackslash) {
    EXPECT_EQ(DefaultOutputDirectory("C:\\Tools"), "C:\\Tools\\backup");
    EXPECT_EQ(OptionsFilePath("C:\\Tools"), "C:\\Tools\\options.ini");
    EXPECT_EQ(OptionsFilePath("C:\\Tools\\"), "C:\\Tools\\options.ini");
}

TEST(IniInteger, ReadingRules) {
    struct Case {
        const char* name;
        const char* text;
        std::optional<int32_t> expected;
    };
    const Case cases[] = {
        {"decimal", "12", 12},
        {"zero", "0", 0},
        {"negative", "-5", -5},
        {"plus sign", "+7", 7},
        {"hex lower prefix", "0x1f", 31},
        {"hex upper prefix", "0X1F", 31},
        {"hex zero", "0x0", 0},
        {"largest", "2147483647", INT32_MAX},
        {"smallest", "-2147483648", INT32_MIN},
        {"largest hex", "0x7FFFFFFF", INT32_MAX},
        {"hex past 32-bit range", "0x80000000", std::nullopt},
        {"decimal past range", "2147483648", std::nullopt},
        {"huge", "99999999999999999999", std::nullopt},
        {"word", "yes", std::nullopt},
        {"empty", "", std::nullopt},
        {"prefix only", "0x", std::nullopt},
        {"sign only", "-", std::nullopt},
        {"trailing junk", "12abc", std::nullopt},
        {"inner blank", "1 2", std::nullopt},
        {"bad hex digit", "0x1G", std::nullopt},
        {"negative hex", "-0x10", std::nullopt},
        {"leading zero decimal", "010", 10},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseIniInteger(c.text), c.expected) << c.name;
}

TEST(OptionsLoad, BooleansAreNonZeroIntegersAndFallBackOnWords) {
    struct Case {
        const char* name;
        const char* stored;  // nullptr: no key
        bool expected;
    };
    const Case cases[] = {
        {"missing key", nullptr, true}, {"one", "1", true},
        {"zero", "0", false},           {"two", "2", true},
        {"hex zero", "0x0", false},     {"word yes", "yes", true},
        {"word no", "no", true},        {"empty", "", true},
        {"negative", "-1", true},       {"blanks around", "  0  ", false},
    };
    for (const Case& c : cases) {
        MemoryIniFile file = MemoryIniFile::WithText("[Options]\r\n");
        if (c.stored)
            file.WriteString("Options", "DeleteBackupFile", c.stored);
        EXPECT_EQ(Load(file).DeleteBackupFile, c.expected) << c.name;
    }
}

TEST(OptionsLoad, OneUntickedNodeLeavesTheOthersTicked) {
    const auto file = MemoryIniFile::WithText("[TreeViewNodeCheck]\r\n5=0\r\n");
    const OptionsSetting options = Load(file);
    for (int index = 1; index <= 22; ++index)
        EXPECT_EQ(options.CategoryTicks.IsTicked(index), index != 5) << "node " << index;
}

TEST(OptionsLoad, ListHoldsExactlyCountEntries) {
    using List = std::vector<std::string>;
    struct Case {
        const char* name;
        const char* text;
        List values;
        List keys;
    };
    const Case cases[] = {
        {"count larger than the entries",
         "[IgnoreValue]\r\nCount=3\r\nValue1=HKEY_A\\x\r\n",
         {"HKEY_A\\x", "", ""},
         {}},
        {"count smaller than the entries",
         "[IgnoreKey]\r\nCount=1\r\nKey1=HKEY_A\\a\r\nKey2=HKEY_A\\b\r\n",
         {},
         {"HKEY_A\\a"}},
        {"count zero with an entry", "[IgnoreKey]\r\nCount=0\r\nKey1=HKEY_A\\a\r\n", {}, {}},
        {"negative count", "[IgnoreKey]\r\nCount=-2\r\nKey1=HKEY_A\\a\r\n", {}, {}},
        {"count not a number", "[IgnoreKey]\r\nCount=two\r\nKey1=HKEY_A\\a\r\n", {}, {}},
        {"hex count", "[IgnoreKey]\r\nCount=0x2\r\nKey2=b\r\nKey1=a\r\n", {}, {"a", "b"}},
        {"entry keys in any letter case", "[ignorevalue]\r\ncount=1\r\nVALUE1=v\r\n", {"v"}, {}},
        {"empty entry kept in its place",
         "[IgnoreKey]\r\nCount=3\r\nKey1=a\r\nKey2=\r\nKey3=c\r\n",
         {},
         {"a", "", "c"}},
    };
    for (const Case& c : cases) {
        const OptionsSetting options = Load(MemoryIniFile::WithText(c.text));
        EXPECT_EQ(options.IgnoreValueList, c.values) << c.name;
        EXPECT_EQ(options.IgnoreKeyList, c.keys) << c.name;
    }
}

TEST(OptionsLoad, DamagedHugeCountIsCut) {
    const auto file = MemoryIniFile::WithText("[IgnoreKey]\r\nCount=0x7FFFFFFF\r\nKey1=a\r\n");
    const OptionsSetting options = Load(file);
    ASSERT_EQ(options.IgnoreKeyList.size(), static_cast<size_t>(kMaxIgnoreEntries));
    EXPECT_EQ(options.IgnoreKeyList.front(), "a");
}

TEST(OptionsLoad, WindowBounds) {
    struct Case {
        const char* name;
        const char* window;  // the [Window] section's lines
        WindowShowState state;
        std::optional<WindowRect> applied;  // nullopt: the load leaves the bounds alone
    };
    const Case cases[] = {
        {"maximized: stored bounds not applied", "State=3\r\nLeft=5\r\nTop=5\r\nWidth=300\r\n",
         WindowShowState::Maximized, std::nullopt},
        {"maximized as hex", "State=0x3\r\n", WindowShowState::Maximized, std::nullopt},
        {"normal with bounds on the screen",
         "State=1\r\nLeft=10\r\nTop=20\r\nWidth=700\r\nHeight=500\r\n", WindowShowState::Normal,
         WindowRect{10, 20, 700, 500}},
        {"minimized state reads as normal", "State=2\r\nLeft=10\r\nTop=20\r\n",
         WindowShowState::Normal, WindowRect{10, 20, 686, 548}},
        {"no bounds: centred at the design size", "State=1\r\n", WindowShowState::Normal,
         WindowRect{169, 110, 686, 548}},
        {"only a size: left and top centre the design size", "Width=800\r\nHeight=600\r\n",
         WindowShowState::Normal, WindowRect{169, 110, 800, 600}},
        {"state not a number", "State=max\r\n", WindowShowState::Normal,
         WindowRect{169, 110, 686, 548}},
        {"off every screen: centred at the stored size",
         "Left=-32000\r\nTop=-32000\r\nWidth=800\r\nHeight=600\r\n", WindowShowState::Normal,
         WindowRect{112, 84, 800, 600}},
        {"from a monitor that is gone", "Left=1500\r\nTop=100\r\nWidth=600\r\nHeight=400\r\n",
         WindowShowState::Normal, WindowRect{212, 184, 600, 400}},
        {"no size: the design size", "Left=10\r\nTop=20\r\nWidth=0\r\nHeight=-4\r\n",
         WindowShowState::Normal, WindowRect{10, 20, 686, 548}},
        {"bound not a number", "Left=ten\r\nTop=20\r\n", WindowShowState::Normal,
         WindowRect{169, 20, 686, 548}},
    };
    for (const Case& c : cases) {
        const auto file = MemoryIniFile::WithText(std::string("[Window]\r\n") + c.window);
        FakeOptionsWindow window;
        const OptionsSetting options = Load(file, window);
        EXPECT_EQ(options.WindowState, c.state) << c.name;
        if (c.applied) {
            EXPECT_EQ(window.setBoundsCalls, 1) << c.name;
            EXPECT_EQ(window.bounds, *c.applied) << c.name;
        } else {
            EXPECT_EQ(window.setBoundsCalls, 0) << c.name;
        }
    }
}

TEST(OptionsLoad, SkinIndexIsNotValidated) {
    EXPECT_EQ(Load(MemoryIniFile::WithText("[Skin]\r\nIndex=0x7\r\n")).SkinIndex, 7);
    EXPECT_EQ(Load(MemoryIniFile::WithText("[Skin]\r\nIndex=9\r\n")).SkinIndex, 9);
    EXPECT_EQ(Load(MemoryIniFile::WithText("[Skin]\r\nIndex=blue\r\n")).SkinIndex, 2);
}

TEST(OptionsLoad, QuotesAndBlanksAroundATextAreDroppedAsTheSystemDoes) {
    const auto file =
        MemoryIniFile::WithText("[Options]\r\nOutputDirectory =  \"D:\\Backups\"  \r\n");
    EXPECT_EQ(Load(file).OutputDirectory, "D:\\Backups");
}

TEST(OptionsSave, FirstSaveWritesEveryKeyInOrder) {
    MemoryIniFile file;
    FakeOptionsWindow window;
    OptionsSetting options = Load(file, window);
    window.treeTicks = options.CategoryTicks;  // as the tree shows them after the load
    window.bounds = {30, 40, 700, 520};
    SaveOptions(file, window, options);

    std::string expected =
        "[Options]\r\nOutputDirectory=C:\\Tools\\backup\r\nDeleteBackupFile=1\r\n"
        "[TreeViewNodeCheck]\r\n";
    for (int index = 1; index <= 22; ++index)
        expected += std::to_string(index) + "=1\r\n";
    expected +=
        "[IgnoreValue]\r\nCount=0\r\n[IgnoreKey]\r\nCount=0\r\n"
        "[Window]\r\nState=1\r\nLeft=30\r\nTop=40\r\nWidth=700\r\nHeight=520\r\n"
        "[Skin]\r\nIndex=2\r\n";
    EXPECT_EQ(file.Text(), expected);
}

TEST(OptionsSave, RoundTripKeepsEveryField) {
    OptionsSetting changed;
    changed.OutputDirectory = "D:\\My Backups";
    changed.DeleteBackupFile = false;
    changed.CategoryTicks.SetTicked(1, true);
    changed.CategoryTicks.SetTicked(7, true);
    changed.IgnoreValueList = {"HKEY_CURRENT_USER\\Software\\X\\Name",
                               "HKEY_CURRENT_USER\\Software\\X\\trailing blank ", "\"quoted\"",
                               "HKEY_CURRENT_USER\\Software\\X\\a=b", ""};
    changed.IgnoreKeyList = {std::string(5000, 'k'), "'single'", " leading"};
    changed.SkinIndex = 6;
    struct Case {
        const char* name;
        OptionsSetting saved;
    };
    const Case cases[] = {
        {"the defaults", DefaultOptions(kExeFolder)},
        {"every field changed", changed},
    };
    for (const Case& c : cases) {
        MemoryIniFile file;
        FakeOptionsWindow window;
        window.treeTicks = c.saved.CategoryTicks;  // the ticks saved are the tree's
        window.bounds = {50, 60, 640, 480};
        OptionsSetting saved = c.saved;
        SaveOptions(file, window, saved);
        FakeOptionsWindow next;
        EXPECT_EQ(test::OptionsRecordText(Load(file, next)), test::OptionsRecordText(c.saved))
            << c.name;
        EXPECT_EQ(next.bounds, (WindowRect{50, 60, 640, 480})) << c.name;
    }
}

TEST(OptionsSave, TicksComeFromTheTreeNotFromTheRecord) {
    OptionsSetting options;
    options.CategoryTicks.SetTicked(4, true);
    FakeOptionsWindow window;
    window.treeTicks.SetTicked(9, true);
    MemoryIniFile file;
    SaveOptions(file, window, options);
    EXPECT_EQ(window.treeWalks, 1);
    EXPECT_EQ(file.StoredText("TreeViewNodeCheck", "4"), "0");
    EXPECT_EQ(file.StoredText("TreeViewNodeCheck", "9"), "1");
    EXPECT_TRUE(options.CategoryTicks.IsTicked(9));
}

TEST(OptionsSave, ShorterListLeavesOldEntriesInTheFile) {
    MemoryIniFile file = MemoryIniFile::WithText(
        "[IgnoreKey]\r\nCount=5\r\nKey1=a\r\nKey2=b\r\nKey3=c\r\nKey4=d\r\nKey5=e\r\n");
    FakeOptionsWindow window;
    OptionsSetting options = Load(file, window);
    options.IgnoreKeyList = {"a", "c", "e"};
    SaveOptions(file, window, options);

    EXPECT_EQ(file.StoredText("IgnoreKey", "Count"), "3");
    EXPECT_EQ(file.StoredText("IgnoreKey", "Key2"), "c");
    EXPECT_EQ(file.StoredText("IgnoreKey", "Key3"), "e");
    EXPECT_EQ(file.StoredText("IgnoreKey", "Key4"), "d");
    EXPECT_EQ(file.StoredText("IgnoreKey", "Key5"), "e");
    EXPECT_EQ(Load(file).IgnoreKeyList, (std::vector<std::string>{"a", "c", "e"}));
}

TEST(OptionsSave, UnknownKeysAndLinesStay) {
    MemoryIniFile file = MemoryIniFile::WithText(
        "; kept comment\r\n[Options]\r\nFuture=42\r\nnot a key line\r\n[Other]\r\nA=1\r\n");
    FakeOptionsWindow window;
    OptionsSetting options = Load(file, window);
    SaveOptions(file, window, options);
    const std::string text = file.Text();
    EXPECT_EQ(text.rfind("; kept comment\r\n[Options]\r\nFuture=42\r\nnot a key line\r\n", 0), 0u)
        << text;
    EXPECT_NE(text.find("[Other]\r\nA=1\r\n"), std::string::npos) << text;
}

TEST(OptionsSave, PlacementStateAndBounds) {
    // What the system reports: the bounds shown now, and those the window returns to.
    const WindowRect shown{0, 0, 1024, 740};
    const WindowRect minimizedStub{-32000, -32000, 160, 28};
    const WindowRect restored{100, 50, 700, 560};
    struct Case {
        const char* name;
        std::optional<int> showCommand;
        WindowRect bounds;
        const char* storedState;
        WindowRect storedBounds;
    };
    const Case cases[] = {
        {"normal", showcommand::kNormal, restored, "1", restored},
        {"maximized keeps its maximized bounds", showcommand::kMaximized, shown, "3", shown},
        {"minimized stores the bounds it returns to", showcommand::kMinimized, minimizedStub, "2",
         restored},
        {"minimized without activation", showcommand::kMinimizedNoActivate, minimizedStub, "7",
         restored},
        {"no answer keeps the earlier state", std::nullopt, shown, "3", shown},
    };
    for (const Case& c : cases) {
        MemoryIniFile file = MemoryIniFile::WithText("[Window]\r\nState=3\r\n");
        FakeOptionsWindow window;
        window.showCommand = c.showCommand;
        window.bounds = c.bounds;
        window.restoredBounds = restored;
        OptionsSetting options;
        SaveOptions(file, window, options);
        EXPECT_EQ(file.StoredText("Window", "State"), c.storedState) << c.name;
        const auto number = [&](const char* key) {
            return std::stoi(file.StoredText("Window", key).value_or("0"));
        };
        const WindowRect stored{number("Left"), number("Top"), number("Width"), number("Height")};
        EXPECT_EQ(stored, c.storedBounds) << c.name;
    }
}

TEST(OptionsSave, RefusedWriteNamesTheFileAndStopsTheSave) {
    MemoryIniFile file("C:\\Tools\\options.ini");
    file.RefuseWritesAfter(3);
    FakeOptionsWindow window;
    OptionsSetting options;
    options.OutputDirectory = "C:\\Tools\\backup";
    try {
        SaveOptions(file, window, options);
        FAIL() << "the refused write was not reported";
    } catch (const IniWriteError& error) {
        EXPECT_STREQ(error.what(), "Unable to write to C:\\Tools\\options.ini");
    }
    EXPECT_EQ(file.StoredText("Options", "OutputDirectory"), "C:\\Tools\\backup");
    EXPECT_EQ(file.StoredText("Options", "DeleteBackupFile"), "0");
    EXPECT_EQ(file.StoredText("TreeViewNodeCheck", "1"), "0");
    EXPECT_EQ(file.StoredText("TreeViewNodeCheck", "2"), std::nullopt);
    EXPECT_EQ(file.StoredText("Skin", "Index"), std::nullopt);
}

TEST(IniText, EncodingReadsBackExactly) {
    struct Case {
        const char* name;
        const char* text;
        const char* written;
    };
    const Case cases[] = {
        {"plain", "HKEY_CURRENT_USER\\Software", "HKEY_CURRENT_USER\\Software"},
        {"empty", "", ""},
        {"trailing blank", "name ", "\"name \""},
        {"leading tab", "\tname", "\"\tname\""},
        {"double quoted", "\"x\"", "\"\"x\"\""},
        {"single quoted", "'x'", "\"'x'\""},
        {"one quote", "\"", "\""},
        {"quote inside", "a\"b", "a\"b"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EncodeIniText(c.text), c.written) << c.name;
        MemoryIniFile file;
        file.WriteString("S", "K", EncodeIniText(c.text));
        EXPECT_EQ(file.ReadString("S", "K", "missing"), c.text) << c.name;
    }
}

TEST(WindowPosition, WhenAStoredPositionIsApplied) {
    const WindowRect primary{0, 0, 1920, 1040};
    const WindowRect leftMonitor{-1280, 0, 1280, 984};
    struct Case {
        const char* name;
        WindowRect stored;
        std::vector<WindowRect> workAreas;
        bool apply;
    };
    const Case cases[] = {
        {"inside the primary", {100, 100, 686, 548}, {primary}, true},
        {"on the monitor at the left", {-1000, 50, 686, 548}, {primary, leftMonitor}, true},
        {"that monitor is gone", {-1000, 50, 686, 548}, {primary}, false},
        {"minimized parking place", {-32000, -32000, 160, 28}, {primary, leftMonitor}, false},
        {"mostly off the right edge, caption reachable", {1800, 100, 686, 548}, {primary}, true},
        {"only a sliver at the right edge", {1900, 100, 686, 548}, {primary}, false},
        {"caption above the top edge", {100, -200, 686, 548}, {primary}, false},
        {"below the bottom edge", {100, 1035, 686, 548}, {primary}, false},
        {"no size", {100, 100, 0, 548}, {primary}, false},
        {"no monitors known", {100, 100, 686, 548}, {}, false},
        {"extreme numbers do not overflow", {INT_MAX, INT_MAX, INT_MAX, INT_MAX}, {primary}, false},
        {"extreme size from the origin", {0, 0, INT_MAX, INT_MAX}, {primary}, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ShouldApplyStoredPosition(c.stored, c.workAreas), c.apply) << c.name;
}

TEST(WindowPosition, CentringTruncatesTowardZero) {
    EXPECT_EQ(CentredOnScreen(686, 548, {1024, 768}), (WindowRect{169, 110, 686, 548}));
    EXPECT_EQ(CentredOnScreen(1025, 769, {1024, 768}), (WindowRect{0, 0, 1025, 769}));
    EXPECT_EQ(CentredOnScreen(1027, 771, {1024, 768}), (WindowRect{-1, -1, 1027, 771}));
}

}  // namespace
}  // namespace vantrel
