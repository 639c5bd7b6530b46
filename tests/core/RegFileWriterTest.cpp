#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/memory/MemoryBackupFile.h"
#include "platform/memory/MemoryRegistry.h"
#include "repair/RegFileWriter.h"
#include "tests/core/LoadRegText.h"
#include "tests/support/RepairSupport.h"

namespace vantrel {

using test::LoadRegText;
namespace {

constexpr RootKey kUser = RootKey::CurrentUser;
constexpr const char* kFile = "C:\\Backup\\Backup20261206210507.reg";

std::vector<uint8_t> Bytes(std::string_view text) {
    return std::vector<uint8_t>(text.begin(), text.end());
}

std::vector<uint8_t> Counting(size_t count) {
    std::vector<uint8_t> bytes(count);
    for (size_t i = 0; i < count; ++i)
        bytes[i] = static_cast<uint8_t>(i);
    return bytes;
}

// The hex list of the bytes 00, 01, ... in the registry editor's wrapping, written out by hand
// for the sizes the tests use.
const char* const kHex26 =
    "00,01,02,03,04,05,06,07,08,09,0A,0B,0C,0D,0E,0F,10,11,12,13,14,15,16,17,18,19";

class RegFileWriterTest : public ::testing::Test {
  protected:
    ExportResult Export(std::string_view keyPath, std::string_view valueName, ExportScope scope,
                        RootKey root = kUser) {
        return test::ExportToFile(registry_, files_, kFile, root, keyPath, valueName, scope);
    }
    ExportResult ExportKey(std::string_view keyPath) {
        return Export(keyPath, {}, ExportScope::WholeKey);
    }
    std::string Text() const { return files_.Contents(kFile).value_or("<no file>"); }

    MemoryRegistry registry_;
    MemoryBackupFile files_;
};

TEST_F(RegFileWriterTest, WholeKeyIntoNewFile) {
    registry_.SetString(kUser, "Software\\Demo", "", "C:\\Demo\\demo.exe");
    registry_.SetDword(kUser, "Software\\Demo", "Size", 255);
    registry_.SetString(kUser, "Software\\Demo", "Quote", "say \"hi\"");
    registry_.SetValue(kUser, "Software\\Demo", "Blob", regtype::kBinary, {0, 1, 2});
    registry_.SetValue(kUser, "Software\\Demo", "List", regtype::kMultiString,
                       Bytes(std::string("a\0b\0\0", 5)));
    registry_.AddKey(kUser, "Software\\Demo\\Sub");

    ASSERT_EQ(ExportKey("Software\\Demo"), ExportResult::Written);
    // A multi-string keeps its strings: it is written as its bytes, not as an empty string.
    EXPECT_EQ(Text(),
              "REGEDIT4\r\n"
              "\r\n"
              "[HKEY_CURRENT_USER\\Software\\Demo]\r\n"
              "@=\"C:\\\\Demo\\\\demo.exe\"\r\n"
              "\"Size\"=dword:000000FF\r\n"
              "\"Quote\"=\"say \\\"hi\\\"\"\r\n"
              "\"Blob\"=hex:00,01,02\r\n"
              "\"List\"=hex(7):61,00,62,00,00\r\n"
              "\r\n"
              "[HKEY_CURRENT_USER\\Software\\Demo\\Sub]\r\n");
}

TEST_F(RegFileWriterTest, ValueIntoNewFileThenSecondExportAppends) {
    registry_.SetString(kUser, "Software\\A", "Path", "x");
    registry_.SetDword(kUser, "Software\\B", "", 10);

    ASSERT_EQ(Export("Software\\A", "Path", ExportScope::SingleValue), ExportResult::Written);
    EXPECT_EQ(Text(), "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\A]\r\n\"Path\"=\"x\"\r\n");

    ASSERT_EQ(Export("Software\\B", "", ExportScope::SingleValue), ExportResult::Written);
    EXPECT_EQ(Text(),
              "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\A]\r\n\"Path\"=\"x\"\r\n"
              "\r\n[HKEY_CURRENT_USER\\Software\\B]\r\n@=dword:0000000A\r\n");
}

TEST_F(RegFileWriterTest, KeyPathWithTrailingBackslash) {
    registry_.AddKey(kUser, "Software\\A");
    ASSERT_EQ(ExportKey("Software\\A\\"), ExportResult::Written);
    EXPECT_EQ(Text(), "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\A]\r\n");
}

TEST_F(RegFileWriterTest, SubtreeDepthFirstParentsBeforeChildren) {
    registry_.SetString(kUser, "T\\A\\B\\C", "deep", "1");
    registry_.AddKey(kUser, "T\\A\\D");
    registry_.SetString(kUser, "T\\E", "", "e");
    ASSERT_EQ(ExportKey("T"), ExportResult::Written);
    EXPECT_EQ(Text(),
              "REGEDIT4\r\n"
              "\r\n[HKEY_CURRENT_USER\\T]\r\n"
              "\r\n[HKEY_CURRENT_USER\\T\\A]\r\n"
              "\r\n[HKEY_CURRENT_USER\\T\\A\\B]\r\n"
              "\r\n[HKEY_CURRENT_USER\\T\\A\\B\\C]\r\n\"deep\"=\"1\"\r\n"
              "\r\n[HKEY_CURRENT_USER\\T\\A\\D]\r\n"
              "\r\n[HKEY_CURRENT_USER\\T\\E]\r\n@=\"e\"\r\n");
}

TEST(EscapeRegText, BackslashesDoubledThenQuotesEscaped) {
    EXPECT_EQ(EscapeRegText(""), "");
    EXPECT_EQ(EscapeRegText("plain"), "plain");
    EXPECT_EQ(EscapeRegText("C:\\a\\"), "C:\\\\a\\\\");
    EXPECT_EQ(EscapeRegText("\"q\""), "\\\"q\\\"");
    // The backslash doubled, then the quote escaped: three backslashes before the quote.
    EXPECT_EQ(EscapeRegText("a\\\"b"), "a\\\\\\\"b");
}

struct ValueLineCase {
    const char* name;
    std::string valueName;
    RawValue value;
    std::string line;
};

RawValue Raw(uint32_t type, std::vector<uint8_t> data) {
    return RawValue{type, std::move(data), true};
}

RawValue TextValue(uint32_t type, std::string_view text) {
    return Raw(type, Bytes(text));
}

TEST(RegValueLine, EveryTypeAndEdge) {
    using std::string;
    const ValueLineCase cases[] = {
        {"string", "Name", TextValue(regtype::kString, string("abc\0", 4)), "\"Name\"=\"abc\"\r\n"},
        {"default value", "", TextValue(regtype::kString, string("x\0", 2)), "@=\"x\"\r\n"},
        {"name with backslash and quote", "a\\\"b", TextValue(regtype::kString, string("\0", 1)),
         "\"a\\\\\\\"b\"=\"\"\r\n"},
        {"text with backslash and quote", "v", TextValue(regtype::kString, string("C:\\\"x\0", 6)),
         "\"v\"=\"C:\\\\\\\"x\"\r\n"},
        {"empty string", "v", TextValue(regtype::kString, string("\0", 1)), "\"v\"=\"\"\r\n"},
        // Quotes cannot carry these faithfully: the bytes are written instead.
        {"string of zero length", "v", Raw(regtype::kString, {}), "\"v\"=hex(1):\r\n"},
        {"string with CR", "v", TextValue(regtype::kString, string("a\rb\0", 4)),
         "\"v\"=hex(1):61,0D,62,00\r\n"},
        {"string with LF", "v", TextValue(regtype::kString, string("a\nb\0", 4)),
         "\"v\"=hex(1):61,0A,62,00\r\n"},
        {"string with data after an embedded zero", "v",
         TextValue(regtype::kString, string("a\0b\0", 4)), "\"v\"=hex(1):61,00,62,00\r\n"},
        {"string with two terminating zeros", "v", TextValue(regtype::kString, string("a\0\0", 3)),
         "\"v\"=hex(1):61,00,00\r\n"},
        {"string without terminating zero", "v", TextValue(regtype::kString, "ab"),
         "\"v\"=hex(1):61,62\r\n"},
        {"expandable string", "p", TextValue(regtype::kExpandString, string("%W%\\a\0", 6)),
         "\"p\"=hex(2):25,57,25,5C,61,00\r\n"},
        {"expandable of zero length", "p", Raw(regtype::kExpandString, {}), "\"p\"=hex(2):\r\n"},
        {"multi-string", "m", TextValue(regtype::kMultiString, string("a\0bc\0\0", 6)),
         "\"m\"=hex(7):61,00,62,63,00,00\r\n"},
        {"dword 255", "d", Raw(regtype::kDword, {0xFF, 0, 0, 0}), "\"d\"=dword:000000FF\r\n"},
        {"dword 10", "d", Raw(regtype::kDword, {10, 0, 0, 0}), "\"d\"=dword:0000000A\r\n"},
        {"dword -1", "d", Raw(regtype::kDword, {0xFF, 0xFF, 0xFF, 0xFF}),
         "\"d\"=dword:FFFFFFFF\r\n"},
        {"dword high bytes", "d", Raw(regtype::kDword, {0x78, 0x56, 0x34, 0x12}),
         "\"d\"=dword:12345678\r\n"},
        {"dword of three bytes", "d", Raw(regtype::kDword, {1, 2, 3}), "\"d\"=hex(4):01,02,03\r\n"},
        {"qword", "q", Raw(regtype::kQword, {1, 0, 0, 0, 0, 0, 0, 0x80}),
         "\"q\"=hex(b):01,00,00,00,00,00,00,80\r\n"},
        {"none with data", "n", Raw(regtype::kNone, {0xAB}), "\"n\"=hex(0):AB\r\n"},
        {"none empty", "n", Raw(regtype::kNone, {}), "\"n\"=hex(0):\r\n"},
        {"link", "l", Raw(regtype::kLink, {0x5C, 0}), "\"l\"=hex(6):5C,00\r\n"},
        {"big-endian dword", "b", Raw(regtype::kDwordBigEndian, {0, 0, 0, 1}),
         "\"b\"=hex(5):00,00,00,01\r\n"},
        {"resource list", "r", Raw(8, {1}), "\"r\"=hex(8):01\r\n"},
        {"odd type number", "o", Raw(0xABCD, {2}), "\"o\"=hex(abcd):02\r\n"},
        {"binary empty", "b", Raw(regtype::kBinary, {}), "\"b\"=hex:\r\n"},
        {"binary 25", "b", Raw(regtype::kBinary, Counting(25)),
         "\"b\"=hex:" + string(kHex26).substr(0, 25 * 3 - 1) + "\r\n"},
        {"binary 26 on one line", "b", Raw(regtype::kBinary, Counting(26)),
         "\"b\"=hex:" + string(kHex26) + "\r\n"},
        {"binary 27: the 27th byte alone on a second line", "b",
         Raw(regtype::kBinary, Counting(27)), "\"b\"=hex:" + string(kHex26) + ",\\\r\n1A\r\n"},
        {"binary 30", "Blob", Raw(regtype::kBinary, Counting(30)),
         "\"Blob\"=hex:" + string(kHex26) + ",\\\r\n1A,1B,1C,1D\r\n"},
        {"expandable wraps like binary", "p", Raw(regtype::kExpandString, Counting(27)),
         "\"p\"=hex(2):" + string(kHex26) + ",\\\r\n1A\r\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RegValueLine(c.valueName, c.value), c.line) << c.name;
}

TEST(RegValueLine, ThousandBytesWrapTwentyFivePerLine) {
    const std::string text = RegValueLine("b", Raw(regtype::kBinary, Counting(1000)));
    std::vector<std::string> lines;
    for (size_t start = 0; start < text.size();) {
        const size_t end = text.find("\r\n", start);
        ASSERT_NE(end, std::string::npos) << "every line ends with CR LF";
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    // 26 bytes on the first line, then 25 per line: 974 = 38 * 25 + 24.
    ASSERT_EQ(lines.size(), 40u);
    EXPECT_EQ(lines.front(), "\"b\"=hex:" + std::string(kHex26) + ",\\");
    for (size_t i = 1; i + 1 < lines.size(); ++i) {
        EXPECT_EQ(lines[i].size(), 25u * 3 + 1) << "line " << i;
        EXPECT_EQ(lines[i].substr(lines[i].size() - 2), ",\\") << "line " << i;
    }
    EXPECT_EQ(lines.back().size(), 24u * 3 - 1);
    EXPECT_EQ(lines.back().substr(lines.back().size() - 2), "E7");  // byte 999 = 0x3E7
}

// What the registry editor would merge back is what was there: every type, byte for byte.
TEST_F(RegFileWriterTest, ExportMergesBackToTheSameValues) {
    const char* const key = "Software\\Round";
    const std::vector<std::pair<std::string, RawValue>> values = {
        {"", TextValue(regtype::kString, std::string("C:\\a \"b\"\0", 10))},
        {"zero length", Raw(regtype::kString, {})},
        {"lines", TextValue(regtype::kString, std::string("a\r\nb\0", 5))},
        {"inner zero", TextValue(regtype::kString, std::string("a\0b\0", 4))},
        {"expand", TextValue(regtype::kExpandString, std::string("%TEMP%\\x\0", 9))},
        {"multi", TextValue(regtype::kMultiString, std::string("a\0b\0\0", 5))},
        {"dword", Raw(regtype::kDword, {1, 2, 3, 4})},
        {"short dword", Raw(regtype::kDword, {1})},
        {"qword", Raw(regtype::kQword, Counting(8))},
        {"none", Raw(regtype::kNone, {})},
        {"blob", Raw(regtype::kBinary, Counting(1000))},
        {"na\\me \"q\"", TextValue(regtype::kString, std::string("v\0", 2))},
    };
    for (const auto& [name, value] : values)
        registry_.SetValue(kUser, key, name, value.type, value.data);
    ASSERT_EQ(ExportKey(key), ExportResult::Written);

    MemoryRegistry merged;
    LoadRegText(merged, Text());
    EXPECT_EQ(merged.ValueNames(kUser, key), registry_.ValueNames(kUser, key));
    for (const auto& [name, value] : values) {
        const std::optional<RawValue> back = merged.GetValue(kUser, key, name);
        ASSERT_TRUE(back.has_value()) << name;
        EXPECT_EQ(back->type, value.type) << name;
        EXPECT_EQ(back->data, value.data) << name;
    }
}

// Refused exports write nothing at all: no new file, and an existing file keeps its text.
struct RefusalCase {
    const char* name;
    void (*setUp)(MemoryRegistry&);
    const char* keyPath;
    const char* valueName;
    ExportScope scope;
    ExportResult result;
};

TEST_F(RegFileWriterTest, RefusedExportsWriteNothing) {
    const RefusalCase cases[] = {
        {"inexact value name in the key",
         [](MemoryRegistry& r) { r.MarkInexactName(kUser, "K\\Sub", std::string("Name")); }, "K",
         "", ExportScope::WholeKey, ExportResult::RefusedInexactText},
        {"inexact subkey name",
         [](MemoryRegistry& r) { r.MarkInexactName(kUser, "K\\Sub\\Deeper", std::nullopt); }, "K",
         "", ExportScope::WholeKey, ExportResult::RefusedInexactText},
        {"inexact data of the one value",
         [](MemoryRegistry& r) { r.MarkInexactText(kUser, "K\\Sub", "Name"); }, "K\\Sub", "Name",
         ExportScope::SingleValue, ExportResult::RefusedInexactText},
        {"inexact default value", [](MemoryRegistry& r) { r.MarkInexactText(kUser, "K", ""); }, "K",
         "", ExportScope::SingleValue, ExportResult::RefusedInexactText},
        {"unopenable subkey", [](MemoryRegistry& r) { r.RefuseOpen(kUser, "K\\Sub"); }, "K", "",
         ExportScope::WholeKey, ExportResult::RefusedUnopenableKey},
        {"unopenable key deep in the subtree",
         [](MemoryRegistry& r) {
             r.AddKey(kUser, "K\\Sub\\Deeper\\Deepest");
             r.RefuseOpen(kUser, "K\\Sub\\Deeper\\Deepest");
         },
         "K", "", ExportScope::WholeKey, ExportResult::RefusedUnopenableKey},
        {"unopenable key itself", [](MemoryRegistry& r) { r.RefuseOpen(kUser, "K"); }, "K", "",
         ExportScope::WholeKey, ExportResult::RefusedUnopenableKey},
        {"missing key of one value", [](MemoryRegistry&) {}, "Gone", "Name",
         ExportScope::SingleValue, ExportResult::RefusedUnopenableKey},
        {"key name with a line break", [](MemoryRegistry& r) { r.AddKey(kUser, "K\\Sub\\a\r\nb"); },
         "K", "", ExportScope::WholeKey, ExportResult::RefusedInexactText},
        {"value name with a line break",
         [](MemoryRegistry& r) { r.SetString(kUser, "K\\Sub", "a\nb", "x"); }, "K", "",
         ExportScope::WholeKey, ExportResult::RefusedInexactText},
        {"symbolic link in the subtree",
         [](MemoryRegistry& r) {
             r.SetValue(kUser, "K\\Sub", "Link", regtype::kLink, {0x5C, 0});
         },
         "K", "", ExportScope::WholeKey, ExportResult::RefusedInexactText},
    };
    for (const auto& c : cases) {
        for (const bool fileExists : {false, true}) {
            MemoryRegistry registry;
            MemoryBackupFile files;
            registry.SetString(kUser, "K", "", "top");
            registry.SetString(kUser, "K\\Sub", "Name", "text");
            c.setUp(registry);
            if (fileExists)
                files.Create(kFile, "REGEDIT4\r\n");
            EXPECT_EQ(
                test::ExportToFile(registry, files, kFile, kUser, c.keyPath, c.valueName, c.scope),
                c.result)
                << c.name;
            EXPECT_EQ(files.Contents(kFile),
                      fileExists ? std::optional<std::string>("REGEDIT4\r\n") : std::nullopt)
                << c.name << (fileExists ? " (file existed)" : " (no file)");
        }
    }
}

TEST_F(RegFileWriterTest, FailedReadRaisesAndWritesNothing) {
    registry_.SetString(kUser, "K", "a", "1");
    registry_.SetString(kUser, "K\\Sub", "Bad", "2");
    registry_.FailRead(kUser, "K\\Sub", "Bad");
    try {
        ExportKey("K");
        FAIL() << "expected RegistryError";
    } catch (const RegistryError& error) {
        EXPECT_EQ(std::string(error.what()), "Failed to get data for 'Bad'");
    }
    EXPECT_EQ(files_.FileCount(), 0u);
}

TEST_F(RegFileWriterTest, BackupFileErrorsNameTheFile) {
    registry_.SetString(kUser, "K", "a", "1");
    files_.RefuseCreate();
    try {
        ExportKey("K");
        FAIL() << "expected BackupFileError";
    } catch (const BackupFileError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Cannot create \"" + std::string(kFile) + "\": Access is denied.");
    }
    EXPECT_EQ(files_.FileCount(), 0u);
}

TEST_F(RegFileWriterTest, FailedAppendLeavesTheFileAsItWas) {
    registry_.SetString(kUser, "K", "a", "1");
    ASSERT_EQ(ExportKey("K"), ExportResult::Written);
    const std::string before = Text();
    files_.FailWrites();
    EXPECT_THROW(ExportKey("K"), BackupFileError);
    EXPECT_EQ(Text(), before);
}

TEST_F(RegFileWriterTest, FailedCreateWriteLeavesNoFile) {
    registry_.SetString(kUser, "K", "a", "1");
    files_.FailWrites();
    EXPECT_THROW(ExportKey("K"), BackupFileError);
    EXPECT_FALSE(files_.Exists(kFile));
}

}  // namespace
}  // namespace vantrel
