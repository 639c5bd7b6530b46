// The portable helpers every layer shares: path and key text joins, the version classification.
#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "platform/PathText.h"
#include "platform/WindowsVersion.h"

namespace vantrel {
namespace {

TEST(PathText, JoinsKeyPathsKeyTextsAndFilePaths) {
    struct Case {
        const char* name;
        std::string joined;
        const char* expected;
    };
    const Case cases[] = {
        {"key below a parent", JoinKeyPath("Software\\A", "B"), "Software\\A\\B"},
        {"key directly below the root", JoinKeyPath("", "Software"), "Software"},
        {"empty name: the default value's form", JoinKeyPath("Software", ""), "Software\\"},
        {"key text", KeyText("HKEY_LOCAL_MACHINE", "Software\\A"),
         "HKEY_LOCAL_MACHINE\\Software\\A"},
        {"key text of the root", KeyText("HKEY_USERS", ""), "HKEY_USERS\\"},
        {"value key text", ValueKeyText("HKEY_CURRENT_USER", "Software\\Run", "Tool"),
         "HKEY_CURRENT_USER\\Software\\Run\\Tool"},
        {"value directly below the root", ValueKeyText("HKEY_CURRENT_USER", "", "Tool"),
         "HKEY_CURRENT_USER\\Tool"},
        {"default value text", ValueKeyText("HKEY_CURRENT_USER", "Software\\Run", ""),
         "HKEY_CURRENT_USER\\Software\\Run\\"},
        {"file in a folder", JoinFilePath("C:\\Fonts", "a.ttf"), "C:\\Fonts\\a.ttf"},
        {"folder with its backslash", JoinFilePath("C:\\Fonts\\", "a.ttf"), "C:\\Fonts\\a.ttf"},
        {"drive root", JoinFilePath("C:\\", "a.ttf"), "C:\\a.ttf"},
        {"no folder: the bare name", JoinFilePath("", "a.hlp"), "a.hlp"},
        {"trailing backslash added", WithTrailingBackslash("C:\\b"), "C:\\b\\"},
        {"trailing backslash kept", WithTrailingBackslash("C:\\b\\"), "C:\\b\\"},
        {"extension appended", WithExtension("C:\\b.d\\backup", kRegFileExtension),
         "C:\\b.d\\backup.reg"},
        {"extension kept in any letter case", WithExtension("C:\\b\\a.REG", kRegFileExtension),
         "C:\\b\\a.REG"},
        {"another last extension: appended", WithExtension("a.reg.txt", kRegFileExtension),
         "a.reg.txt.reg"},
        {"trailing backslash taken off", std::string(WithoutTrailingBackslash("A\\B\\")), "A\\B"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.joined, c.expected);
    }
}

TEST(PathText, SplitsKeyPathsIntoTheirNamesLeavingOutEmptyOnes) {
    using Names = std::vector<std::string_view>;
    EXPECT_EQ(SplitKeyPath("Software\\A"), (Names{"Software", "A"}));
    EXPECT_EQ(SplitKeyPath("\\Software\\\\A\\"), (Names{"Software", "A"}));
    EXPECT_EQ(SplitKeyPath(""), Names{});
    EXPECT_EQ(SplitKeyPath("\\"), Names{});
}

TEST(WindowsVersionCode, ClassifiesEveryFamilyAndTreatsTheUnknownAsTheNewest) {
    struct Case {
        const char* name;
        uint32_t platform, major, minor;
        int code;
        bool is9x;
    };
    const Case cases[] = {
        {"NT 3.51", platformid::kNt, 3, 51, 5, false},
        {"NT 4.0", platformid::kNt, 4, 0, 6, false},
        {"2000", platformid::kNt, 5, 0, 7, false},
        {"XP", platformid::kNt, 5, 1, 9, false},
        {"Server 2003", platformid::kNt, 5, 2, 10, false},
        {"Windows 10", platformid::kNt, 10, 0, 10, false},
        {"95", platformid::kWindows, 4, 0, 1, true},
        {"98", platformid::kWindows, 4, 10, 3, true},
        {"Me", platformid::kWindows, 4, 90, 8, true},
        {"another 9x", platformid::kWindows, 4, 3, 10, false},
        {"Win32s", platformid::kWin32s, 3, 1, 10, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const WindowsVersion version = WindowsVersionCode(c.platform, c.major, c.minor);
        EXPECT_EQ(static_cast<int>(version), c.code);
        EXPECT_EQ(IsWindows9x(version), c.is9x);
    }
}

}  // namespace
}  // namespace vantrel
