#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/memory/MemoryRegistry.h"
#include "repair/RegFileReader.h"
#include "tests/core/LoadRegText.h"
#include "tests/support/TextFiles.h"

namespace vantrel {

using test::LoadRegText;
namespace {

constexpr RootKey kHkcu = RootKey::CurrentUser;

TEST(RegFileReader, ReadsEveryValueForm) {
    struct Row {
        const char* name;
        const char* line;
        const char* valueName;
        uint32_t type;
        std::vector<uint8_t> data;
    };
    const Row rows[] = {
        {"string",
         R"("Path"="C:\\Program Files\\app.exe")",
         "Path",
         regtype::kString,
         {'C', ':', '\\', 'P',  'r', 'o', 'g', 'r', 'a', 'm', ' ', 'F', 'i',
          'l', 'e', 's',  '\\', 'a', 'p', 'p', '.', 'e', 'x', 'e', 0}},
        {"escaped quote",
         R"("q"="say \"hi\"")",
         "q",
         regtype::kString,
         {'s', 'a', 'y', ' ', '"', 'h', 'i', '"', 0}},
        {"quote and equals in the name", R"("a\"=b"="x")", "a\"=b", regtype::kString, {'x', 0}},
        {"empty string", R"("e"="")", "e", regtype::kString, {0}},
        {"default value",
         R"(@="default")",
         "",
         regtype::kString,
         {'d', 'e', 'f', 'a', 'u', 'l', 't', 0}},
        {"dword", R"("n"=dword:0000000a)", "n", regtype::kDword, {10, 0, 0, 0}},
        {"dword in capitals, short", R"("n"=DWORD:FF)", "n", regtype::kDword, {0xFF, 0, 0, 0}},
        {"dword all bits", R"("n"=dword:ffffffff)", "n", regtype::kDword, {0xFF, 0xFF, 0xFF, 0xFF}},
        {"binary", R"("b"=hex:01,02,ff)", "b", regtype::kBinary, {1, 2, 0xFF}},
        {"empty binary", R"("b"=hex:)", "b", regtype::kBinary, {}},
        {"expandable by number",
         R"("x"=hex(2):25,41,25,00)",
         "x",
         regtype::kExpandString,
         {'%', 'A', '%', 0}},
        {"multi-string", R"("m"=hex(7):61,00,00)", "m", regtype::kMultiString, {'a', 0, 0}},
        {"hexadecimal type number",
         R"("q"=hex(b):01,00,00,00,00,00,00,00)",
         "q",
         regtype::kQword,
         {1, 0, 0, 0, 0, 0, 0, 0}},
        {"type none", R"("z"=hex(0):)", "z", regtype::kNone, {}},
        {"continued lines",
         "\"c\"=hex:01,02,\\\n  03,04,\\\n  05",
         "c",
         regtype::kBinary,
         {1, 2, 3, 4, 5}},
        {"blanks around the equals sign", "\"s\" = \"t\"", "s", regtype::kString, {'t', 0}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MemoryRegistry registry;
        LoadRegText(registry, std::string("[HKEY_CURRENT_USER\\Fixture]\n") + row.line + "\n");
        const auto value = registry.GetValue(kHkcu, "Fixture", row.valueName);
        ASSERT_TRUE(value.has_value());
        EXPECT_EQ(value->type, row.type);
        EXPECT_EQ(value->data, row.data);
    }
}

TEST(RegFileReader, BuildsKeysUnderEveryRootName) {
    MemoryRegistry registry;
    LoadRegText(registry,
                "REGEDIT4\r\n"
                "\r\n"
                "; a comment line\r\n"
                "[HKEY_LOCAL_MACHINE\\Software\\A]\r\n"
                "[hkey_classes_root\\.txt]\r\n"
                "@=\"txtfile\"\r\n"
                "[HKEY_USERS\\.DEFAULT]\r\n"
                "[HKEY_CURRENT_CONFIG\\Display]\r\n"
                "[HKEY_DYN_DATA\\Config]\r\n"
                "[HKEY_CURRENT_USER]\r\n"
                "\"AtRoot\"=\"yes\"\r\n");
    EXPECT_TRUE(registry.HasKey(RootKey::LocalMachine, "SOFTWARE\\a"));
    EXPECT_EQ(registry.GetValue(RootKey::ClassesRoot, ".txt", "")->data.size(), 8u);
    EXPECT_TRUE(registry.HasKey(RootKey::Users, ".DEFAULT"));
    EXPECT_TRUE(registry.HasKey(RootKey::CurrentConfig, "Display"));
    EXPECT_TRUE(registry.HasKey(RootKey::DynData, "Config"));
    EXPECT_TRUE(registry.HasValue(kHkcu, "", "AtRoot"));
}

// Values keep the order of the text; subkeys come in name order, as the registry lists them.
TEST(RegFileReader, KeepsTheOrderOfTheTextsValues) {
    MemoryRegistry registry;
    LoadRegText(registry,
                "[HKEY_CURRENT_USER\\O\\b]\n[HKEY_CURRENT_USER\\O\\a]\n[HKEY_CURRENT_USER\\O]\n"
                "\"z\"=\"1\"\n\"y\"=\"2\"\n");
    EXPECT_EQ(registry.SubkeyNames(kHkcu, "O"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(registry.ValueNames(kHkcu, "O"), (std::vector<std::string>{"z", "y"}));
}

TEST(RegFileReader, RemovesKeysAndValues) {
    MemoryRegistry registry;
    registry.SetString(kHkcu, "Gone\\Deep", "v", "x");
    registry.SetString(kHkcu, "Stays", "drop", "x");
    registry.SetString(kHkcu, "Stays", "", "x");
    registry.SetString(kHkcu, "Stays", "keep", "x");
    LoadRegText(registry,
                "[-HKEY_CURRENT_USER\\gone]\n"
                "[HKEY_CURRENT_USER\\Stays]\n"
                "\"DROP\"=-\n"
                "@=-\n"
                "\"never there\"=-\n");
    EXPECT_FALSE(registry.HasKey(kHkcu, "Gone"));
    EXPECT_EQ(registry.ValueNames(kHkcu, "Stays"), std::vector<std::string>{"keep"});
}

TEST(RegFileReader, RejectsMalformedTextNamingTheLine) {
    struct Row {
        const char* name;
        const char* text;
        const char* message;
    };
    const Row rows[] = {
        {"unknown root", "REGEDIT4\n\n[HKEY_NOWHERE\\A]\n",
         "Registry text line 3: unknown root key: [HKEY_NOWHERE\\A]"},
        {"key line without bracket", "[HKEY_CURRENT_USER\\A\n",
         "Registry text line 1: key line without its closing bracket: [HKEY_CURRENT_USER\\A"},
        {"value before any key", "\"a\"=\"b\"\n",
         "Registry text line 1: value line outside a key section: \"a\"=\"b\""},
        {"value after a removal", "[-HKEY_CURRENT_USER\\A]\n\"a\"=\"b\"\n",
         "Registry text line 2: value line outside a key section: \"a\"=\"b\""},
        {"root removal", "[-HKEY_CURRENT_USER]\n",
         "Registry text line 1: a root key cannot be removed: [-HKEY_CURRENT_USER]"},
        {"unknown escape", "[HKEY_CURRENT_USER\\A]\n\"a\"=\"c:\\dir\"\n",
         "Registry text line 2: unknown escape in a quoted text: \"a\"=\"c:\\dir\""},
        {"unterminated text", "[HKEY_CURRENT_USER\\A]\n\"a\"=\"open\n",
         "Registry text line 2: quoted text without its closing quote: \"a\"=\"open"},
        {"text after the value", "[HKEY_CURRENT_USER\\A]\n\"a\"=\"b\"c\n",
         "Registry text line 2: text after the quoted value: \"a\"=\"b\"c"},
        {"no equals sign", "[HKEY_CURRENT_USER\\A]\n\"a\" \"b\"\n",
         "Registry text line 2: expected '=' after the name: \"a\" \"b\""},
        {"dword too long", "[HKEY_CURRENT_USER\\A]\n\"n\"=dword:123456789\n",
         "Registry text line 2: expected 1 to 8 hex digits for a dword: \"n\"=dword:123456789"},
        {"dword not hex", "[HKEY_CURRENT_USER\\A]\n\"n\"=dword:12g4\n",
         "Registry text line 2: not a hex digit in a dword: \"n\"=dword:12g4"},
        {"bad byte", "[HKEY_CURRENT_USER\\A]\n\"b\"=hex:01,,02\n",
         "Registry text line 2: expected 1 to 2 hex digits for a byte: \"b\"=hex:01,,02"},
        {"bad type number", "[HKEY_CURRENT_USER\\A]\n\"b\"=hex(z):01\n",
         "Registry text line 2: not a hex digit in a value type: \"b\"=hex(z):01"},
        {"unknown data", "[HKEY_CURRENT_USER\\A]\n\"b\"=qword:1\n",
         "Registry text line 2: unknown kind of value data: \"b\"=qword:1"},
        {"garbage line", "[HKEY_CURRENT_USER\\A]\nname=value\n",
         "Registry text line 2: neither a key nor a value line: name=value"},
        {"header later on", "[HKEY_CURRENT_USER\\A]\nREGEDIT4\n",
         "Registry text line 2: the REGEDIT4 header is allowed only at the start: REGEDIT4"},
        {"continued line numbered by its start", "[HKEY_CURRENT_USER\\A]\n\"b\"=hex:01,\\\n  zz\n",
         "Registry text line 2: not a hex digit in a byte: \"b\"=hex:01,zz"},
        {"continued past the end", "[HKEY_CURRENT_USER\\A]\n\"b\"=hex:01,\\\n",
         "Registry text line 2: continued past the end of the text: \"b\"=hex:01,"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MemoryRegistry registry;
        try {
            LoadRegText(registry, row.text);
            ADD_FAILURE() << "no error raised";
        } catch (const RegFileError& error) {
            EXPECT_EQ(std::string(error.what()), row.message);
        }
    }
}

// Every block and value, type and bytes, as one text to compare.
std::string Flat(const std::vector<RegFileBlock>& blocks) {
    std::string flat;
    for (const RegFileBlock& block : blocks) {
        flat += "[" + block.path + "]";
        for (const RegFileValue& value : block.values) {
            flat += value.name + ":" + std::to_string(value.type) + "=";
            for (const uint8_t byte : value.data)
                flat += std::to_string(byte) + ",";
        }
    }
    return flat;
}

// The registry editor's Unicode export: UTF-16LE after its byte order mark, text values and
// the hex(1), hex(2) and hex(7) data in UTF-16 too. It reads as the same entries in REGEDIT4.
TEST(RegFileReader, ReadsTheUnicodeExportAsItsAnsiTwin) {
    const char* regedit4 =
        "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n\"s\"=\"C:\\\\x\"\r\n\"e\"=hex(2):25,54,00\r\n"
        "\"m\"=hex(7):61,00,00\r\n\"d\"=dword:00000001\r\n\"b\"=hex:ff,00\r\n";
    const std::string unicode = test::AsUnicodeExport(
        "Windows Registry Editor Version "
        "5.00\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n\"s\"=\"C:\\\\x\"\r\n"
        "\"e\"=hex(2):25,00,54,00,00,00\r\n\"m\"=hex(7):61,00,00,00,00,00\r\n"
        "\"d\"=dword:00000001\r\n\"b\"=hex:ff,00\r\n");
    EXPECT_EQ(Flat(ReadRegFile(unicode)), Flat(ReadRegFile(regedit4)));

    const std::string cases[] = {
        test::AsUnicodeExport("REGEDIT4\r\n"),
        test::AsUnicodeExport("Windows Registry Editor Version 5.00\r\n[HKEY_CURRENT_USER\\A]\r\n"
                              "\"e\"=hex(2):25,00,54\r\n"),
        test::AsUnicodeExport(
            "Windows Registry Editor Version 5.00\r\n[HKEY_CURRENT_USER\\A]\r\n") +
            std::string("\xE9\0", 2),
        std::string("\xFF\xFE\x41"),
    };
    for (const std::string& unreadable : cases)
        EXPECT_THROW(ReadRegFile(unreadable), RegFileError) << unreadable.size();
}

TEST(RegFileReader, MalformedTextChangesNothing) {
    MemoryRegistry registry;
    registry.SetString(kHkcu, "Old", "v", "x");
    EXPECT_THROW(
        LoadRegText(registry, "[-HKEY_CURRENT_USER\\Old]\n[HKEY_CURRENT_USER\\New]\n\"a\"=bad\n"),
        RegFileError);
    EXPECT_TRUE(registry.HasValue(kHkcu, "Old", "v"));
    EXPECT_FALSE(registry.HasKey(kHkcu, "New"));
}

}  // namespace
}  // namespace vantrel
