#include <gtest/gtest.h>

#include <string>

#include "platform/win32/Win32IniFile.h"
#include "tests/win32/ScratchArea.h"

namespace vantrel {
namespace {

using test::ScratchFolder;

TEST(Win32IniFile, FirstWriteCreatesTheFileAndReadsComeBack) {
    ScratchFolder folder;
    const std::string path = folder.Path("options.ini");
    Win32IniFile file(path);
    EXPECT_EQ(file.ReadString("Options", "OutputDirectory", "C:\\Tools\\backup"),
              "C:\\Tools\\backup");

    file.WriteString("Options", "OutputDirectory", "D:\\Backups");
    file.WriteString("Options", "DeleteBackupFile", "1");
    file.WriteString("Skin", "Index", "2");

    // 8-bit text with CR LF line ends, one line per key (a blank line between sections is the
    // system's own choice).
    std::string text = test::ReadFile(path);
    for (auto blank = text.find("\r\n\r\n"); blank != std::string::npos;
         blank = text.find("\r\n\r\n"))
        text.erase(blank, 2);
    EXPECT_EQ(text,
              "[Options]\r\nOutputDirectory=D:\\Backups\r\nDeleteBackupFile=1\r\n"
              "[Skin]\r\nIndex=2\r\n");
    const Win32IniFile reopened(path);
    EXPECT_EQ(reopened.ReadString("options", "OUTPUTDIRECTORY", ""), "D:\\Backups");
    EXPECT_EQ(reopened.ReadString("Skin", "Index", "7"), "2");
}

TEST(Win32IniFile, MissingAndEmptyKeys) {
    ScratchFolder folder;
    const std::string path = folder.Path("options.ini");
    Win32IniFile file(path);
    file.WriteString("IgnoreKey", "Key1", "");
    struct Case {
        const char* name;
        const char* section;
        const char* key;
        const char* expected;
    };
    const Case cases[] = {
        {"empty value is not missing", "IgnoreKey", "Key1", ""},
        {"missing key", "IgnoreKey", "Key2", " fallback with blanks "},
        {"missing section", "IgnoreValue", "Count", " fallback with blanks "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(file.ReadString(c.section, c.key, " fallback with blanks "), c.expected)
            << c.name;
    const Win32IniFile absent(folder.Path("absent.ini"));
    EXPECT_EQ(absent.ReadString("Options", "DeleteBackupFile", "x"), "x");
}

TEST(Win32IniFile, OverwriteKeepsOtherKeysAndLines) {
    ScratchFolder folder;
    const std::string path = folder.Path("options.ini");
    test::WriteFile(path, "[IgnoreKey]\r\nCount=5\r\nKey4=d\r\nKey5=e\r\n[Future]\r\nWish=1\r\n");
    Win32IniFile file(path);
    file.WriteString("IgnoreKey", "Count", "3");
    EXPECT_EQ(file.ReadString("IgnoreKey", "Count", ""), "3");
    EXPECT_EQ(file.ReadString("IgnoreKey", "Key5", ""), "e");
    EXPECT_EQ(file.ReadString("Future", "Wish", ""), "1");
}

// The settings rely on these rules to write texts that read back exactly.
TEST(Win32IniFile, ReadsDropBlanksAndOnePairOfQuotes) {
    ScratchFolder folder;
    Win32IniFile file(folder.Path("options.ini"));
    struct Case {
        const char* name;
        const char* written;
        const char* read;
    };
    const Case cases[] = {
        {"blanks around", "  value  ", "value"},
        {"double quotes", "\"value \"", "value "},
        {"single quotes", "'value'", "value"},
        {"nested quotes", "\"\"value\"\"", "\"value\""},
        {"quote inside", "a\"b", "a\"b"},
        {"equals sign inside", "HKEY_CURRENT_USER\\X\\a=b", "HKEY_CURRENT_USER\\X\\a=b"},
    };
    for (const Case& c : cases) {
        file.WriteString("Texts", c.name, c.written);
        EXPECT_EQ(file.ReadString("Texts", c.name, "missing"), c.read) << c.name;
    }
}

TEST(Win32IniFile, LongValueIsReadWhole) {
    ScratchFolder folder;
    Win32IniFile file(folder.Path("options.ini"));
    for (const size_t length : {2046u, 2047u, 2048u, 5000u}) {
        const std::string text(length, 'k');
        file.WriteString("IgnoreKey", "Key1", text);
        EXPECT_EQ(file.ReadString("IgnoreKey", "Key1", ""), text) << length << " characters";
    }
}

TEST(Win32IniFile, RefusedWriteNamesTheFile) {
    ScratchFolder folder;
    folder.CreateFile(L"plainfile");
    struct Case {
        const char* name;
        std::string path;
    };
    const Case cases[] = {
        {"folder that does not exist", folder.Path("missing\\options.ini")},
        {"folder that is a file", folder.Path("plainfile\\options.ini")},
    };
    for (const Case& c : cases) {
        Win32IniFile file(c.path);
        try {
            file.WriteString("Options", "DeleteBackupFile", "1");
            ADD_FAILURE() << c.name << ": the refused write was not reported";
        } catch (const IniWriteError& error) {
            EXPECT_EQ(std::string(error.what()), "Unable to write to " + c.path) << c.name;
            EXPECT_EQ(error.Path(), c.path) << c.name;
        }
    }
}

}  // namespace
}  // namespace vantrel
