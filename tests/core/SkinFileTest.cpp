#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/TextFiles.h"
#include "ui/look/SkinCatalogue.h"
#include "ui/look/SkinFile.h"

namespace vantrel {
namespace {

// A complete file for `look`, one key a line, as skins/README.md writes them.
std::string FileTextOf(const SkinLook& look) {
    std::string text = "# a test skin\r\nvantrel-skin 1\r\nname = " + look.name + "\r\n";
    const auto line = [&](const char* key, const Rgb& colour) {
        text += std::string(key) + " = " + ColourText(colour) + "\r\n";
    };
    line("window", look.window);
    line("window-text", look.windowText);
    line("link", look.link);
    line("face", look.face);
    line("face-text", look.faceText);
    line("highlight", look.highlight);
    line("highlight-text", look.highlightText);
    line("title", look.title);
    line("title-text", look.titleText);
    line("list", look.list);
    line("list-text", look.listText);
    line("tree", look.tree);
    line("tree-text", look.treeText);
    line("button", look.button);
    line("button-text", look.buttonText);
    line("progress", look.progress);
    text += "font = " + look.font.name + ", " + std::to_string(look.font.pointSize) +
            (look.font.bold ? ", bold" : "") + "\r\n";
    return text;
}

bool SameLook(const SkinLook& a, const SkinLook& b) {
    return FileTextOf(a) == FileTextOf(b);
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos)
        text.replace(at, from.size(), to);
    return text;
}

TEST(SkinFile, ACompleteFileGivesItsLook) {
    SkinLook look = DeepBlueLook();
    look.name = "Test Blue";
    look.font = SkinFont{"Courier New", 9, true};
    const auto parsed = ParseSkinFile(FileTextOf(look));
    ASSERT_TRUE(parsed);
    EXPECT_TRUE(SameLook(*parsed, look)) << FileTextOf(*parsed);
}

TEST(SkinFile, CommentsBlankLinesSpacesLineEndsAndLetterCaseOfDigits) {
    const std::string lf = Replaced(FileTextOf(WinXpLook()), "\r\n", "\n");
    std::string text = "\n; comment\n   \n" + lf;
    text = Replaced(text, "window = #ECE9D8", "  window=#ece9d8\t");
    const auto parsed = ParseSkinFile(text);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->window, (Rgb{0xEC, 0xE9, 0xD8}));
}

TEST(SkinFile, WithoutAFontLineTheDialogFontStays) {
    std::string text = FileTextOf(ProteinLook());
    text = Replaced(text, "font = Tahoma, 8\r\n", "");
    const auto parsed = ParseSkinFile(text);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->font, SkinFont{});
}

struct MalformedCase {
    const char* name;
    std::string text;
};

std::vector<MalformedCase> MalformedCases() {
    const std::string good = FileTextOf(WinXpLook());
    return {
        {"empty", ""},
        {"no header", Replaced(good, "vantrel-skin 1\r\n", "")},
        {"another version", Replaced(good, "vantrel-skin 1", "vantrel-skin 2")},
        {"header after a key",
         Replaced(Replaced(good, "vantrel-skin 1\r\n", ""), "name = Win XP\r\n",
                  "name = Win XP\r\nvantrel-skin 1\r\n")},
        {"unknown key", good + "shadow = #000000\r\n"},
        {"duplicate key", good + "window = #000000\r\n"},
        {"missing colour", Replaced(good, "progress = #2FB334\r\n", "")},
        {"missing name", Replaced(good, "name = Win XP\r\n", "")},
        {"empty name", Replaced(good, "name = Win XP", "name =")},
        {"line without equals", good + "window #000000\r\n"},
        {"five digits", Replaced(good, "#ECE9D8", "#ECE9D")},
        {"seven digits", Replaced(good, "#ECE9D8", "#ECE9D80")},
        {"no hash", Replaced(good, "#ECE9D8", "ECE9D8")},
        {"not hex", Replaced(good, "#ECE9D8", "#ECE9DG")},
        {"colour by name", Replaced(good, "#ECE9D8", "white")},
        {"font without size", Replaced(good, "Tahoma, 8", "Tahoma")},
        {"font size zero", Replaced(good, "Tahoma, 8", "Tahoma, 0")},
        {"font size huge", Replaced(good, "Tahoma, 8", "Tahoma, 99")},
        {"font size with unit", Replaced(good, "Tahoma, 8", "Tahoma, 8pt")},
        {"font italic", Replaced(good, "Tahoma, 8", "Tahoma, 8, italic")},
        {"font name empty", Replaced(good, "Tahoma, 8", ", 8")},
        {"font name too long", Replaced(good, "Tahoma, 8", std::string(32, 'x') + ", 8")},
        {"zero byte", Replaced(good, "Win XP", std::string("Win\0XP", 6))},
        {"far too large", good + "# " + std::string(70 * 1024, 'x') + "\r\n"},
        {"binary", std::string("\x89PNG\r\n\x1a\n", 8) + good},
    };
}

TEST(SkinFile, AMalformedFileGivesNoLookAtAll) {
    for (const MalformedCase& row : MalformedCases())
        EXPECT_FALSE(ParseSkinFile(row.text)) << row.name;
}

class SkinFileOnDisk : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("vantrel-skin-test-" +
                   std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::string Write(const std::string& name, const std::string& text) {
        const std::filesystem::path path = folder_ / name;
        test::WriteFile(path.string(), text);
        return path.string();
    }
    std::string Missing(const std::string& name) const { return (folder_ / name).string(); }

    std::filesystem::path folder_;
};

TEST_F(SkinFileOnDisk, TheFirstFileThatExistsIsTheOneRead) {
    SkinLook first = DeepBlueLook();
    first.name = "First";
    SkinLook second = ProteinLook();
    second.name = "Second";
    const std::string a = Write("a.sui", FileTextOf(first));
    const std::string b = Write("b.sui", FileTextOf(second));

    const auto bothThere = LoadSkinFile({a, b});
    ASSERT_TRUE(bothThere);
    EXPECT_EQ(bothThere->name, "First");
    const auto firstMissing = LoadSkinFile({Missing("none.sui"), b});
    ASSERT_TRUE(firstMissing);
    EXPECT_EQ(firstMissing->name, "Second");
    EXPECT_FALSE(LoadSkinFile({Missing("none.sui"), Missing("other.sui")}));
    EXPECT_FALSE(LoadSkinFile({}));
}

TEST_F(SkinFileOnDisk, AMalformedFileFoundFirstGivesNothingRatherThanAnother) {
    const std::string broken = Write("broken.sui", "vantrel-skin 1\r\nname = Half\r\n");
    const std::string good = Write("good.sui", FileTextOf(WinXpLook()));
    EXPECT_FALSE(LoadSkinFile({broken, good}));
}

TEST_F(SkinFileOnDisk, AFolderOfTheSkinsNameIsPassedOver) {
    std::filesystem::create_directories(folder_ / "folder.sui");
    const std::string good = Write("good.sui", FileTextOf(WinXpLook()));
    EXPECT_FALSE(LoadSkinFile({Missing("folder.sui")}));
    EXPECT_TRUE(LoadSkinFile({Missing("folder.sui"), good}));
}

}  // namespace
}  // namespace vantrel
