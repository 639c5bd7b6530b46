// Registry texts are read in their format before the path in them is judged.
#include <gtest/gtest.h>

#include "platform/memory/MemoryFileSystem.h"
#include "scan/PathTests.h"

namespace vantrel {
namespace {

struct FormatCase {
    const char* name;
    const char* text;
    bool missing;
};

const FormatCase kCases[] = {
    // Marks around a path.
    {"Run history marker after a folder", "C:\\Windows\\1", false},
    {"Run history marker after a missing program", "C:\\Missing\\gone.exe\\1", true},
    {"resource index", "C:\\Lib\\present.dll,-109", false},
    {"resource index, file gone", "C:\\Missing\\gone.dll,3", true},
    {"indirect string", "@C:\\Lib\\present.dll,-12", false},
    {"indirect string, file gone", "@C:\\Missing\\gone.dll,-12", true},
    {"indirect string without a drive", "@shell32.dll,-21787", false},
    {"type library index", "C:\\Lib\\types.tlb\\3", false},
    {"old association", "C:\\Program Files\\App\\app.exe ^.doc", false},
    {"numbered suffix", "C:\\Program Files\\App\\app.exe|0", false},
    {"a command's own placeholder", "C:\\Missing\\gone.exe %1", true},
    // Texts that name no local file.
    {"URL", "http://example.invalid/C:\\Missing\\x.exe", false},
    {"file URL", "file:///C:/Missing/x.exe", false},
    {"shell folder", "shell:::{645FF040-5081-101B-9F08-00AA002F954E}", false},
    {"shell namespace", "::{20D04FE0-3AEA-1069-A2D8-08002B30309D}\\C:\\Missing", false},
    {"placeholder", "C:\\Missing\\<SWLANGFOLDER>\\x.dll", false},
    {"inner environment reference", "C:\\Users\\%USERNAME%\\gone.exe", false},
    // Lists: reported only when every element is missing.
    {"list, one element present", "C:\\Missing\\a.dll;C:\\Lib\\present.dll", false},
    {"list, every element missing", "C:\\Missing\\a.dll;C:\\Missing\\b.dll;", true},
    {"list, one element not judged", "C:\\Missing\\a.dll;b.dll", false},
};

TEST(ValueFormats, APathIsJudgedInTheFormatItIsStoredIn) {
    MemoryFileSystem files;
    files.AddDrive('c', drivetype::kFixed);
    files.AddDirectory("C:\\Windows");
    files.AddFile("C:\\Lib\\present.dll");
    files.AddFile("C:\\Lib\\types.tlb");
    files.AddFile("C:\\Program Files\\App\\app.exe");
    const PathTests tests(files, "c");
    for (const FormatCase& row : kCases)
        EXPECT_EQ(tests.IsMissingFilePath(row.text, {}, true), row.missing) << row.name;
}

}  // namespace
}  // namespace vantrel
