#include <gtest/gtest.h>

#include <string>

#include "scan/ListablePath.h"

namespace vantrel {
namespace {

struct SplitCase {
    const char* name;
    std::string path;
    bool listable;
    const char* folder;
    const char* entry;
    bool trailingSeparator;
};

TEST(ListablePath, SplitsOnlyPathsAListingAnswersExactly) {
    const SplitCase cases[] = {
        {"RootEntry", "C:\\file.txt", true, "C:\\", "file.txt", false},
        {"LowerDrive", "c:\\Dir\\Sub\\deep.dll", true, "c:\\Dir\\Sub\\", "deep.dll", false},
        {"FolderWithSeparator", "C:\\Dir\\Sub\\", true, "C:\\Dir\\", "Sub", true},
        {"BlanksInside", "C:\\Program Files\\ lead", true, "C:\\Program Files\\", " lead", false},
        {"DotInside", "C:\\a.b\\c.d", true, "C:\\a.b\\", "c.d", false},
        {"DeviceLookalike", "C:\\console\\COM10", true, "C:\\console\\", "COM10", false},
        {"LongestAccepted", "C:\\" + std::string(256, 'a'), true, "", "", false},
        {"TooLong", "C:\\" + std::string(257, 'a'), false, "", "", false},
        {"DriveRoot", "C:\\", false, "", "", false},
        {"DriveOnly", "C:", false, "", "", false},
        {"DriveRelative", "C:file.txt", false, "", "", false},
        {"Relative", "Dir\\file.txt", false, "", "", false},
        {"RootRelative", "\\Dir\\file.txt", false, "", "", false},
        {"Network", "\\\\server\\share\\file", false, "", "", false},
        {"DevicePath", "\\\\.\\C:\\file", false, "", "", false},
        {"DigitDrive", "1:\\file", false, "", "", false},
        {"DoubleSeparator", "C:\\Dir\\\\file", false, "", "", false},
        {"TwoTrailingSeparators", "C:\\Dir\\\\", false, "", "", false},
        {"ForwardSlash", "C:\\Dir/file", false, "", "", false},
        {"Dot", "C:\\Dir\\.", false, "", "", false},
        {"DotDotInside", "C:\\Dir\\..\\file", false, "", "", false},
        {"TrailingDot", "C:\\file.", false, "", "", false},
        {"TrailingBlank", "C:\\file ", false, "", "", false},
        {"TrailingDotOnFolder", "C:\\Dir.\\file", false, "", "", false},
        {"TrailingBlankOnFolder", "C:\\Dir \\file", false, "", "", false},
        {"ShortName", "C:\\PROGRA~1\\file", false, "", "", false},
        {"Star", "C:\\Dir\\*.txt", false, "", "", false},
        {"Question", "C:\\Dir\\file.tx?", false, "", "", false},
        {"DosWildcard", "C:\\Dir\\file<", false, "", "", false},
        {"Quote", "C:\\Dir\\\"file\"", false, "", "", false},
        {"Pipe", "C:\\Dir\\a|b", false, "", "", false},
        {"Stream", "C:\\file.txt:alt", false, "", "", false},
        {"Device", "C:\\Dir\\NUL", false, "", "", false},
        {"DeviceWithExtension", "C:\\Dir\\con.txt", false, "", "", false},
        {"DeviceBeforeBlankAndExtension", "C:\\Dir\\aux .log", false, "", "", false},
        {"NumberedPort", "C:\\Dir\\lpt0", false, "", "", false},
        {"ConsoleDevice", "C:\\Dir\\CONOUT$", false, "", "", false},
        {"DeviceAsFolder", "C:\\com1\\file", false, "", "", false},
        {"NonAscii", "C:\\Caf\xe9\\menu.txt", false, "", "", false},
        {"ControlByte", "C:\\Dir\\a\tb", false, "", "", false},
        {"Delete", "C:\\Dir\\a\x7f", false, "", "", false},
        {"Zero", std::string("C:\\Dir\\a\0b", 10), false, "", "", false},
    };
    for (const SplitCase& row : cases) {
        const std::optional<ListablePath> split = SplitListablePath(row.path);
        ASSERT_EQ(split.has_value(), row.listable) << row.name;
        if (!split || std::string(row.folder).empty())
            continue;
        EXPECT_EQ(split->folder, row.folder) << row.name;
        EXPECT_EQ(split->name, row.entry) << row.name;
        EXPECT_EQ(split->trailingSeparator, row.trailingSeparator) << row.name;
    }
}

}  // namespace
}  // namespace vantrel
