// The backup that repair writes, merged back by the real registry editor: a generated subtree
// with every value type and every character that the file's syntax treats specially must come
// back byte for byte.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32/AnsiText.h"
#include "platform/win32/Win32BackupFile.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"
#include "repair/Repair.h"
#include "tests/support/RepairSupport.h"
#include "tests/win32/RegistrySnapshot.h"
#include "tests/win32/ScratchArea.h"

namespace vantrel {
namespace {

using test::KeyRow;
using test::MergeWithRegedit;
using test::RepairOne;
using test::ScratchFolder;
using test::ScratchKey;
using test::SnapshotDifferences;
using test::SnapshotSubtree;
using test::SubtreeSnapshot;
using test::ValueRow;
using test::WideBytes;
using Indexes = std::vector<size_t>;

constexpr DWORD kOddType = 0x1234;
constexpr UINT kWesternCodePage = 1252;

// Text of the Western code page's bytes as the registry holds it.
std::wstring FromCodePage(const std::string& bytes) {
    std::wstring wide(bytes.size(), L'\0');
    const int written =
        ::MultiByteToWideChar(kWesternCodePage, 0, bytes.data(), static_cast<int>(bytes.size()),
                              wide.data(), static_cast<int>(wide.size()));
    wide.resize(written > 0 ? static_cast<size_t>(written) : 0);
    return wide;
}

// The bytes 128 to 255, in four pieces of 32.
std::wstring HighCharacters(int piece) {
    std::string bytes;
    for (int b = 128 + 32 * piece; b < 160 + 32 * piece; ++b)
        bytes.push_back(static_cast<char>(b));
    return FromCodePage(bytes);
}

// Pieces of value names and texts: everything a quoted field or a key line treats specially.
std::vector<std::wstring> NamePieces() {
    return {L"plain",
            L"back\\slash",
            L"quote\"d",
            L"eq=uals",
            L"[open",
            L"close]",
            L"@",
            L" leading blank",
            L"trailing ",
            L"\\\"=[]@ \\",
            L"ends\\",
            L"\"",
            HighCharacters(0),
            HighCharacters(1),
            HighCharacters(2),
            HighCharacters(3),
            L""};
}

// Key names cannot hold a backslash; everything else may appear.
std::vector<std::wstring> KeyPieces() {
    return {L"plain",
            L"quote\"d",
            L"eq=uals",
            L"[open",
            L"close]",
            L"[both]",
            L"@",
            L" leading blank",
            L"two  blanks",
            L"trailing blank ",
            L" ",
            L"x=\"y\"",
            HighCharacters(0),
            HighCharacters(1),
            HighCharacters(2),
            HighCharacters(3)};
}

std::vector<uint8_t> StringData(const std::wstring& text) {
    return WideBytes(std::wstring_view(text.c_str(), text.size() + 1));
}

std::vector<uint8_t> MultiStringData(const std::vector<std::wstring>& texts) {
    std::wstring joined;
    for (const auto& text : texts)
        joined += text + L'\0';
    joined += L'\0';
    return WideBytes(joined);
}

std::vector<uint8_t> CountingBytes(size_t size, size_t seed) {
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<uint8_t>((i * 31 + seed * 7) & 0xFF);
    return bytes;
}

std::vector<uint8_t> NumberBytes(uint64_t number, size_t size) {
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<uint8_t>(number >> (8 * i));
    return bytes;
}

struct GeneratedValue {
    std::wstring name;
    DWORD type;
    std::vector<uint8_t> data;
};

// The i-th generated value: its type, name and data all rotate through their edge cases.
GeneratedValue Generated(size_t i) {
    static const std::vector<std::wstring> pieces = NamePieces();
    static const DWORD types[] = {
        REG_SZ,   REG_EXPAND_SZ, REG_MULTI_SZ,         REG_DWORD, REG_QWORD, REG_BINARY,
        REG_NONE, REG_SZ,        REG_DWORD_BIG_ENDIAN, kOddType,  REG_BINARY};
    static const size_t binarySizes[] = {0, 1, 25, 26, 27, 1000, 3, 51, 52};
    const std::wstring& text = pieces[(i * 5 + 1) % pieces.size()];
    GeneratedValue value;
    value.name =
        pieces[i % pieces.size()] + std::to_wstring(i) + pieces[(i * 7 + 3) % pieces.size()];
    value.type = types[i % (sizeof types / sizeof types[0])];
    switch (value.type) {
        case REG_SZ:
            value.data = StringData(text);
            break;
        case REG_EXPAND_SZ:
            value.data = StringData(L"%SystemRoot%\\" + text);
            break;
        case REG_MULTI_SZ:
            value.data = MultiStringData({text, L"second", pieces[(i + 2) % pieces.size()]});
            break;
        case REG_DWORD:
        case REG_DWORD_BIG_ENDIAN:
            value.data = NumberBytes(i % 3 == 0 ? 0xFFFFFFFFu : i * 0x01010101u, 4);
            break;
        case REG_QWORD:
            value.data = NumberBytes(0x8000000000000000ull + i, 8);
            break;
        default:
            value.data =
                CountingBytes(binarySizes[i % (sizeof binarySizes / sizeof binarySizes[0])], i);
            break;
    }
    return value;
}

// Values that only this key holds: empty data of every type, the default value, and strings
// whose stored form is unusual.
std::vector<GeneratedValue> EdgeValues() {
    std::vector<GeneratedValue> values;
    const DWORD types[] = {REG_SZ,     REG_EXPAND_SZ, REG_MULTI_SZ,         REG_DWORD, REG_QWORD,
                           REG_BINARY, REG_NONE,      REG_DWORD_BIG_ENDIAN, kOddType};
    for (const DWORD type : types)
        values.push_back({L"empty type " + std::to_wstring(type), type, {}});
    values.push_back({L"", REG_SZ, StringData(L"the default \"value\" C:\\x\\")});
    values.push_back({L"binary 0", REG_BINARY, {}});
    values.push_back({L"binary 25", REG_BINARY, CountingBytes(25, 1)});
    values.push_back({L"binary 26", REG_BINARY, CountingBytes(26, 2)});
    values.push_back({L"binary 27", REG_BINARY, CountingBytes(27, 3)});
    values.push_back({L"binary 1000", REG_BINARY, CountingBytes(1000, 4)});
    values.push_back({L"string only a zero", REG_SZ, StringData(L"")});
    values.push_back({L"string without its zero", REG_SZ, WideBytes(L"no end")});
    values.push_back(
        {L"string with a zero inside", REG_SZ, WideBytes(std::wstring_view(L"a\0b\0", 4))});
    values.push_back({L"string with a line break", REG_SZ, StringData(L"line\r\nbreak")});
    values.push_back({L"expand only a zero", REG_EXPAND_SZ, StringData(L"")});
    values.push_back(
        {L"multi one empty string", REG_MULTI_SZ, WideBytes(std::wstring_view(L"\0\0", 2))});
    values.push_back({L"dword of three bytes", REG_DWORD, {1, 2, 3}});
    values.push_back({L"dword of eight bytes", REG_DWORD, NumberBytes(0x0102030405060708ull, 8)});
    values.push_back({L"all high characters", REG_SZ,
                      StringData(HighCharacters(0) + HighCharacters(1) + HighCharacters(2) +
                                 HighCharacters(3))});
    return values;
}

class RoundTrip : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(::GetACP(), kWesternCodePage)
            << "the generated names assume the Western ANSI code page";
        SeedSubtree();
        before_ = SnapshotSubtree(HKEY_CURRENT_USER, WideRoot());
        ASSERT_GE(test::ValueCount(before_), 200u);
    }

    std::wstring WideRoot() const { return ToWide(scratch_.Path()); }

    void Set(const std::wstring& keyPath, const GeneratedValue& value) {
        scratch_.SetValue(value.name, value.type, value.data, keyPath);
    }

    // The top key with the edge values; "wide" with 30 subkeys; "deep" eight levels down.
    void SeedSubtree() {
        for (const auto& value : EdgeValues())
            scratch_.SetValue(value.name, value.type, value.data);
        const std::vector<std::wstring> keyPieces = KeyPieces();
        size_t next = 0;
        for (size_t k = 0; k < 30; ++k) {
            const std::wstring key =
                L"wide\\" + keyPieces[k % keyPieces.size()] + std::to_wstring(k);
            scratch_.CreateKey(key);
            for (size_t v = 0; v < 5; ++v)
                Set(key, Generated(next++));
        }
        std::wstring deep = L"deep";
        for (size_t level = 0; level < 8; ++level) {
            deep += L"\\" + keyPieces[(level * 3 + 1) % keyPieces.size()] + std::to_wstring(level);
            scratch_.CreateKey(deep);
            for (size_t v = 0; v < 6; ++v)
                Set(deep, Generated(next++));
            Set(deep, {L"", REG_SZ, StringData(L"default at level " + std::to_wstring(level))});
        }
        scratch_.CreateKey(L"empty key");
        scratch_.CreateKey(L"wide\\empty subkey");
    }

    RepairContext Context() { return RepairContext{registry_, fileSystem_, files_, backupPath_}; }

    void MergeBackupAndCompare() {
        const DWORD exitCode = MergeWithRegedit(backupPath_);
        EXPECT_EQ(exitCode, 0u);
        const std::vector<std::string> differences =
            SnapshotDifferences(before_, SnapshotSubtree(HKEY_CURRENT_USER, WideRoot()));
        std::string report;
        for (const auto& line : differences)
            report += line + "\n";
        EXPECT_TRUE(differences.empty()) << differences.size() << " differences after the merge:\n"
                                         << report;
    }

    ScratchKey scratch_;
    ScratchFolder folder_;
    Win32Registry registry_;
    Win32FileSystem fileSystem_;
    Win32BackupFile files_;
    std::string backupPath_ = folder_.Path("Backup20261206210507.reg");
    SubtreeSnapshot before_;
};

TEST_F(RoundTrip, WholeKeyRepairMergesBackExactly) {
    ASSERT_EQ(RepairOne(Context(), KeyRow("HKEY_CURRENT_USER", scratch_.Path())).removed,
              Indexes{0});
    EXPECT_TRUE(SnapshotSubtree(HKEY_CURRENT_USER, WideRoot()).empty()) << "the key is still there";
    MergeBackupAndCompare();
}

TEST_F(RoundTrip, EveryValueRepairedOneByOneMergesBackExactly) {
    for (const auto& [keyPath, values] : before_) {
        const std::string path =
            scratch_.Path() + (keyPath.empty() ? "" : "\\" + ToAnsi(keyPath).text);
        for (const auto& entry : values) {
            const std::string name = ToAnsi(entry.first).text;
            ASSERT_EQ(RepairOne(Context(), ValueRow("HKEY_CURRENT_USER", path, name)).removed,
                      Indexes{0})
                << test::Utf8(keyPath) << " \"" << test::Utf8(entry.first) << "\"";
        }
    }
    EXPECT_EQ(test::ValueCount(SnapshotSubtree(HKEY_CURRENT_USER, WideRoot())), 0u);
    MergeBackupAndCompare();
}

// What the file cannot carry faithfully is not backed up, and so not deleted either.
TEST(RoundTripRefusal, UnfaithfulEntriesStayAndWriteNothing) {
    struct Case {
        const char* name;
        std::wstring valueName;
        DWORD type;
        std::vector<uint8_t> data;
    };
    const Case cases[] = {
        {"value name outside the code page", L"Greek \u0394", REG_SZ, StringData(L"x")},
        {"text outside the code page", L"Text", REG_SZ, StringData(L"Greek \u0394")},
        {"multi-string outside the code page", L"Multi", REG_MULTI_SZ,
         MultiStringData({L"a", L"\u4E2D"})},
        {"string of an odd byte count", L"Odd", REG_SZ, {0x41, 0x00, 0x42}},
        {"symbolic link", L"Link", REG_LINK, WideBytes(L"\\Registry\\Machine\\Software")},
    };
    for (const auto& c : cases) {
        ScratchKey scratch;
        ScratchFolder folder;
        scratch.SetValue(L"fine", REG_SZ, StringData(L"fine"));
        scratch.SetValue(c.valueName, c.type, c.data, L"Sub");
        Win32Registry registry;
        Win32BackupFile files;
        Win32FileSystem fileSystem;
        const std::string backupPath = folder.Path("Backup20261206210507.reg");
        const RepairContext context{registry, fileSystem, files, backupPath};
        EXPECT_EQ(RepairOne(context, KeyRow("HKEY_CURRENT_USER", scratch.Path())).notRemoved,
                  Indexes{0})
            << c.name;
        EXPECT_TRUE(scratch.HasKey(L"Sub")) << c.name;
        EXPECT_TRUE(scratch.HasValue(L"fine")) << c.name;
        EXPECT_FALSE(files.Exists(backupPath)) << c.name;
    }
}

}  // namespace
}  // namespace vantrel
