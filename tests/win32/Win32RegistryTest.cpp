// The registry adapter against Wine's real registry.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/Win32Registry.h"
#include "tests/win32/ScratchArea.h"

namespace vantrel {
namespace {

using test::Bytes;
using test::ScratchKey;
using test::WideBytes;

class Win32RegistryTest : public ::testing::Test {
  protected:
    std::unique_ptr<RegistryAccess> OpenScratch(AccessMode mode = AccessMode::Full) {
        auto access = registry_.NewAccess();
        access->SetAccess(mode);
        EXPECT_TRUE(access->OpenKey(scratch_.Path()));
        return access;
    }

    ScratchKey scratch_;
    Win32Registry registry_;
};

// One stored value and what every read of it must give.
struct ValueCase {
    const char* label;
    std::wstring name;
    DWORD type;
    std::vector<uint8_t> data;
    ValueType expectedType;
    std::optional<std::string> expectedString;  // nullopt: ReadString raises
    std::optional<int32_t> expectedInteger;     // nullopt: ReadInteger raises
};

std::vector<ValueCase> ValueCases() {
    return {
        {"string", L"Sz", REG_SZ, WideBytes(std::wstring_view(L"C:\\a.exe", 9)), ValueType::String,
         "C:\\a.exe", std::nullopt},
        {"expandable string is not expanded", L"Expand", REG_EXPAND_SZ,
         WideBytes(std::wstring_view(L"%SystemRoot%\\x", 15)), ValueType::ExpandString,
         "%SystemRoot%\\x", std::nullopt},
        {"string read up to its first zero", L"TwoParts", REG_SZ,
         WideBytes(std::wstring_view(L"ab\0cd", 6)), ValueType::String, "ab", std::nullopt},
        {"string stored without a terminator", L"Unterminated", REG_SZ,
         WideBytes(std::wstring_view(L"xyz", 3)), ValueType::String, "xyz", std::nullopt},
        {"dword",
         L"Number",
         REG_DWORD,
         {0xFE, 0xFF, 0xFF, 0xFF},
         ValueType::Integer,
         std::nullopt,
         -2},
        {"binary", L"Blob", REG_BINARY, {1, 2, 3}, ValueType::Binary, std::nullopt, std::nullopt},
        {"multi-string is unknown", L"Multi", REG_MULTI_SZ,
         WideBytes(std::wstring_view(L"a\0b\0\0", 5)), ValueType::Unknown, std::nullopt,
         std::nullopt},
        {"qword is unknown",
         L"Wide",
         REG_QWORD,
         {1, 0, 0, 0, 0, 0, 0, 0},
         ValueType::Unknown,
         std::nullopt,
         std::nullopt},
        {"big-endian dword is unknown",
         L"Big",
         REG_DWORD_BIG_ENDIAN,
         {0, 0, 0, 1},
         ValueType::Unknown,
         std::nullopt,
         std::nullopt},
        {"none type is unknown",
         L"Nothing",
         REG_NONE,
         {7},
         ValueType::Unknown,
         std::nullopt,
         std::nullopt},
        {"zero-length string", L"EmptySz", REG_SZ, {}, ValueType::String, "", std::nullopt},
        {"zero-length binary reads as empty text",
         L"EmptyBin",
         REG_BINARY,
         {},
         ValueType::Binary,
         "",
         std::nullopt},
        {"zero-length dword reads as empty text, not as a number",
         L"EmptyDword",
         REG_DWORD,
         {},
         ValueType::Integer,
         "",
         std::nullopt},
        {"default value", L"", REG_SZ, WideBytes(std::wstring_view(L"dflt", 5)), ValueType::String,
         "dflt", std::nullopt},
    };
}

void ExpectReads(RegistryAccess& access, const ValueCase& row) {
    const std::string name(row.name.begin(), row.name.end());
    EXPECT_TRUE(access.ValueExists(name));
    EXPECT_EQ(access.GetDataType(name), row.expectedType);
    if (row.expectedString) {
        EXPECT_EQ(access.ReadString(name), *row.expectedString);
    } else {
        EXPECT_THROW(access.ReadString(name), RegistryError);
    }
    if (row.expectedInteger) {
        EXPECT_EQ(access.ReadInteger(name), *row.expectedInteger);
    } else {
        EXPECT_THROW(access.ReadInteger(name), RegistryError);
    }
}

// Reads are served from the listing's cache or straight from the registry: both must agree.
TEST_F(Win32RegistryTest, ReadsEveryTypeWithAndWithoutTheListing) {
    const auto cases = ValueCases();
    for (const auto& row : cases)
        scratch_.SetValue(row.name, row.type, row.data);

    for (const bool listedFirst : {false, true}) {
        auto access = OpenScratch();
        if (listedFirst)
            access->GetValueNames();
        for (const auto& row : cases) {
            SCOPED_TRACE(std::string(row.label) + (listedFirst ? " (listed)" : " (direct)"));
            ExpectReads(*access, row);
        }
        EXPECT_FALSE(access->ValueExists("Absent"));
        EXPECT_EQ(access->GetDataType("Absent"), ValueType::Unknown);
        EXPECT_THROW(access->ReadString("Absent"), RegistryError);
        EXPECT_THROW(access->ReadRawValue("Absent"), RegistryError);
    }
}

TEST_F(Win32RegistryTest, ValueNamesIgnoreLetterCaseInBothReadPaths) {
    scratch_.SetString(L"MixedCase", L"v");
    for (const bool listedFirst : {false, true}) {
        SCOPED_TRACE(listedFirst ? "listed" : "direct");
        auto access = OpenScratch();
        if (listedFirst)
            access->GetValueNames();
        EXPECT_EQ(access->ReadString("MIXEDcase"), "v");
    }
}

TEST_F(Win32RegistryTest, WrongTypeReadNamesTheValue) {
    scratch_.SetValue(L"Blob", REG_BINARY, {1, 2});
    auto access = OpenScratch();
    try {
        access->ReadString("Blob");
        FAIL() << "no error raised";
    } catch (const RegistryError& error) {
        EXPECT_STREQ(error.what(), "Failed to get data for 'Blob'");
    }
}

struct RawCase {
    const char* label;
    std::wstring name;
    DWORD type;
    std::vector<uint8_t> stored;
    std::vector<uint8_t> expected;
    bool exact;
};

TEST_F(Win32RegistryTest, RawValuesKeepTypeAndBytesWithTextInAnsi) {
    const std::vector<RawCase> cases = {
        {"string with its terminator", L"Sz", REG_SZ, WideBytes(std::wstring_view(L"ab", 3)),
         Bytes(std::string_view("ab", 3)), true},
        {"expandable string", L"Ex", REG_EXPAND_SZ, WideBytes(std::wstring_view(L"%a%", 4)),
         Bytes(std::string_view("%a%", 4)), true},
        {"multi-string keeps every zero", L"Multi", REG_MULTI_SZ,
         WideBytes(std::wstring_view(L"a\0bc\0\0", 6)), Bytes(std::string_view("a\0bc\0\0", 6)),
         true},
        {"link is text too", L"Link", REG_LINK, WideBytes(std::wstring_view(L"\\R", 2)),
         Bytes("\\R"), true},
        {"string of odd length is not exact", L"Odd", REG_SZ, {'a', 0, 'b'}, Bytes("a"), false},
        {"binary unchanged", L"Bin", REG_BINARY, {0, 0xFF, 0x10}, {0, 0xFF, 0x10}, true},
        {"dword unchanged", L"Dw", REG_DWORD, {1, 2, 3, 4}, {1, 2, 3, 4}, true},
        {"qword unchanged",
         L"Qw",
         REG_QWORD,
         {1, 2, 3, 4, 5, 6, 7, 8},
         {1, 2, 3, 4, 5, 6, 7, 8},
         true},
        {"none unchanged", L"None", REG_NONE, {9, 9}, {9, 9}, true},
        {"zero-length string", L"Empty", REG_SZ, {}, {}, true},
        {"character outside the code page", L"Lossy", REG_SZ,
         WideBytes(std::wstring_view(L"\u65E5\0", 2)), Bytes(std::string_view("?\0", 2)), false},
    };
    for (const auto& row : cases)
        scratch_.SetValue(row.name, row.type, row.stored);

    for (const bool listedFirst : {false, true}) {
        auto access = OpenScratch();
        if (listedFirst)
            access->GetValueNames();
        for (const auto& row : cases) {
            SCOPED_TRACE(std::string(row.label) + (listedFirst ? " (listed)" : " (direct)"));
            const RawValue raw =
                access->ReadRawValue(std::string(row.name.begin(), row.name.end()));
            EXPECT_EQ(raw.type, row.type);
            EXPECT_EQ(raw.data, row.expected);
            EXPECT_EQ(raw.exact, row.exact);
        }
    }
}

TEST_F(Win32RegistryTest, LongValueIsReadWhole) {
    const std::wstring text(5000, L'x');
    scratch_.SetString(L"Long", text);
    for (const bool listedFirst : {false, true}) {
        SCOPED_TRACE(listedFirst ? "listed" : "direct");
        auto access = OpenScratch();
        if (listedFirst)
            access->GetValueNames();
        EXPECT_EQ(access->ReadString("Long"), std::string(5000, 'x'));
    }
}

std::vector<std::string> NativeValueNames(HKEY key) {
    std::vector<std::string> names;
    wchar_t name[256];
    for (DWORD index = 0;; ++index) {
        DWORD chars = 256;
        if (::RegEnumValueW(key, index, name, &chars, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        names.emplace_back(name, name + chars);
    }
    return names;
}

std::vector<std::string> NativeKeyNames(HKEY key) {
    std::vector<std::string> names;
    wchar_t name[256];
    for (DWORD index = 0;; ++index) {
        DWORD chars = 256;
        if (::RegEnumKeyExW(key, index, name, &chars, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        names.emplace_back(name, name + chars);
    }
    return names;
}

TEST_F(Win32RegistryTest, NamesComeInTheRegistrysOwnOrder) {
    for (const wchar_t* name : {L"zeta", L"Alpha", L"mid", L"", L"beta"}) {
        scratch_.SetString(name, L"v");
    }
    for (const wchar_t* name : {L"Zk", L"ak", L"Mk"})
        scratch_.CreateKey(name);

    auto access = OpenScratch();
    const auto values = access->GetValueNames();
    EXPECT_EQ(values, NativeValueNames(scratch_.get()));
    EXPECT_EQ(values.size(), 5u);
    EXPECT_TRUE(access->LastNamesExact());
    const auto keys = access->GetKeyNames();
    EXPECT_EQ(keys, NativeKeyNames(scratch_.get()));
    EXPECT_EQ(keys.size(), 3u);
    EXPECT_TRUE(access->LastNamesExact());
}

TEST_F(Win32RegistryTest, EmptyKeyListsNothing) {
    auto access = OpenScratch();
    EXPECT_TRUE(access->GetValueNames().empty());
    EXPECT_TRUE(access->GetKeyNames().empty());
    access->CloseKey();
    EXPECT_TRUE(access->GetValueNames().empty());
}

TEST_F(Win32RegistryTest, NamesOutsideTheCodePageAreReportedAsNotExact) {
    if (::GetACP() == CP_UTF8 || ::GetACP() == 932)
        GTEST_SKIP() << "code page holds the name";
    scratch_.SetString(L"\u65E5", L"v");
    scratch_.SetString(L"plain", L"v");
    scratch_.CreateKey(L"key\u65E5");

    auto access = OpenScratch();
    const auto values = access->GetValueNames();
    EXPECT_FALSE(access->LastNamesExact());
    EXPECT_NE(std::find(values.begin(), values.end(), "?"), values.end());
    // The lossy name does not reach the real value: '?' is a different name.
    EXPECT_FALSE(access->ValueExists("?"));
    EXPECT_EQ(access->GetKeyNames(), std::vector<std::string>{"key?"});
    EXPECT_FALSE(access->LastNamesExact());

    ASSERT_TRUE(access->OpenKey("\\" + scratch_.Path()));
    scratch_.SetString(L"only", L"v");
    scratch_.CreateKey(L"plainkey");
    ::RegDeleteValueW(scratch_.get(), L"\u65E5");
    ::RegDeleteTreeW(scratch_.get(), L"key\u65E5");
    access->GetValueNames();
    EXPECT_TRUE(access->LastNamesExact()) << "each listing reports on itself";
}

TEST_F(Win32RegistryTest, PathRules) {
    scratch_.CreateKey(L"A\\B\\C");
    auto access = registry_.NewAccess();
    EXPECT_EQ(access->GetRootKey(), RootKey::CurrentUser);
    EXPECT_FALSE(access->HasOpenKey());

    // No key open: from the root.
    ASSERT_TRUE(access->OpenKey(scratch_.Path()));
    EXPECT_EQ(access->CurrentPath(), scratch_.Path());
    // Relative to the open key.
    ASSERT_TRUE(access->OpenKey("A\\B"));
    EXPECT_EQ(access->CurrentPath(), scratch_.Path("A\\B"));
    ASSERT_TRUE(access->OpenKey("C"));
    EXPECT_EQ(access->CurrentPath(), scratch_.Path("A\\B\\C"));
    // A leading backslash: from the root again.
    ASSERT_TRUE(access->OpenKey("\\" + scratch_.Path("A")));
    EXPECT_EQ(access->CurrentPath(), scratch_.Path("A"));
    // Not taken from the root while a key is open.
    EXPECT_FALSE(access->OpenKey(scratch_.Path()));
    EXPECT_FALSE(access->HasOpenKey()) << "a failed open leaves no key open";
    EXPECT_EQ(access->CurrentPath(), "");
    // With none open, the same path is from the root.
    ASSERT_TRUE(access->OpenKey(scratch_.Path()));
    EXPECT_TRUE(access->KeyExists("A\\B"));
    EXPECT_TRUE(access->KeyExists("\\" + scratch_.Path("A\\B\\C")));
    EXPECT_FALSE(access->KeyExists("A\\Missing"));
    EXPECT_EQ(access->CurrentPath(), scratch_.Path()) << "KeyExists leaves the open key alone";
    // Nothing is created by opening or testing.
    EXPECT_FALSE(access->OpenKey("New"));
    EXPECT_FALSE(scratch_.HasKey(L"New"));

    ASSERT_TRUE(access->OpenKey(scratch_.Path()));
    access->SetRootKey(RootKey::LocalMachine);
    EXPECT_FALSE(access->HasOpenKey()) << "setting the root closes the open key";
    EXPECT_EQ(access->GetRootKey(), RootKey::LocalMachine);
    EXPECT_FALSE(access->KeyExists(scratch_.Path())) << "paths are now below the new root";
    EXPECT_TRUE(access->OpenKey("Software"));
    access->SetRootKey(RootKey::None);
    EXPECT_FALSE(access->OpenKey("Software"));
    EXPECT_FALSE(access->KeyExists("Software"));
}

TEST_F(Win32RegistryTest, DeleteKeyRemovesTheWholeSubtree) {
    scratch_.CreateKey(L"Gone\\Deep\\Deeper");
    scratch_.SetValue(L"v", REG_SZ, WideBytes(std::wstring_view(L"x", 2)), L"Gone\\Deep");
    scratch_.CreateKey(L"Kept");
    auto access = OpenScratch();

    EXPECT_TRUE(access->DeleteKey("Gone"));
    EXPECT_FALSE(scratch_.HasKey(L"Gone"));
    EXPECT_TRUE(scratch_.HasKey(L"Kept"));
    EXPECT_FALSE(access->DeleteKey("Gone")) << "a missing key cannot be deleted";
    EXPECT_FALSE(access->DeleteKey("")) << "an empty path never clears the open key";
    EXPECT_TRUE(scratch_.HasKey(L"Kept"));
    EXPECT_TRUE(access->DeleteKey("\\" + scratch_.Path("Kept")));
    EXPECT_FALSE(scratch_.HasKey(L"Kept"));
}

TEST_F(Win32RegistryTest, DeleteValueAndWriteStringChangeTheKeyAndTheReads) {
    scratch_.SetString(L"Old", L"1");
    auto access = OpenScratch();
    access->GetValueNames();

    EXPECT_TRUE(access->DeleteValue("Old"));
    EXPECT_FALSE(scratch_.HasValue(L"Old"));
    EXPECT_FALSE(access->ValueExists("Old"));
    EXPECT_FALSE(access->DeleteValue("Old"));

    access->WriteString("New", "caf\xE9");
    const auto [type, data] = scratch_.NativeValue(L"New");
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    if (::GetACP() == 1252) {
        EXPECT_EQ(data, WideBytes(std::wstring_view(L"caf\u00E9", 5)));
    }
    access->GetValueNames();
    access->WriteString("New", "second");
    EXPECT_EQ(access->ReadString("New"), "second") << "a write drops what the listing kept";
    access->WriteString("", "default");
    EXPECT_EQ(access->ReadString(""), "default");

    access->CloseKey();
    EXPECT_THROW(access->WriteString("x", "y"), RegistryError);
    EXPECT_FALSE(access->DeleteValue("New"));
}

TEST_F(Win32RegistryTest, ReadOnlyAccessReadsButChangesNothing) {
    scratch_.SetString(L"Keep", L"v");
    scratch_.CreateKey(L"Sub");
    auto access = OpenScratch(AccessMode::ReadOnly);

    EXPECT_EQ(access->ReadString("Keep"), "v");
    EXPECT_EQ(access->GetKeyNames(), std::vector<std::string>{"Sub"});
    EXPECT_THROW(access->WriteString("Keep", "changed"), RegistryError);
    EXPECT_FALSE(access->DeleteValue("Keep"));
    EXPECT_FALSE(access->DeleteKey("Sub"));
    EXPECT_TRUE(scratch_.HasValue(L"Keep"));
    EXPECT_TRUE(scratch_.HasKey(L"Sub"));
    EXPECT_EQ(scratch_.NativeValue(L"Keep").second, WideBytes(std::wstring_view(L"v", 2)));
}

TEST_F(Win32RegistryTest, ListedKeyIsReadWithAboutOneCallPerValue) {
    constexpr int kValues = 100;
    for (int i = 0; i < kValues; ++i) {
        scratch_.SetString(L"Value" + std::to_wstring(i),
                           L"C:\\Program Files\\x" + std::to_wstring(i) + L".exe");
    }
    const size_t before = registry_.CallCount();
    const auto start = std::chrono::steady_clock::now();
    {
        auto access = OpenScratch(AccessMode::ReadOnly);
        const auto names = access->GetValueNames();
        ASSERT_EQ(names.size(), static_cast<size_t>(kValues));
        const size_t afterListing = registry_.CallCount();
        for (const auto& name : names) {
            ASSERT_EQ(access->GetDataType(name), ValueType::String);
            ASSERT_FALSE(access->ReadString(name).empty());
        }
        EXPECT_EQ(registry_.CallCount(), afterListing) << "reads after a listing make no calls";
    }
    const auto elapsed = std::chrono::steady_clock::now() - start;
    const size_t calls = registry_.CallCount() - before;
    const double perValue = static_cast<double>(calls) / kValues;
    std::printf("[ measured ] %d values: %zu registry calls, %.2f per value, %.0f us in all\n",
                kValues, calls, perValue,
                std::chrono::duration<double, std::micro>(elapsed).count());
    // Open, info, one enumeration call per value, close.
    EXPECT_LE(calls, static_cast<size_t>(kValues + 3));
}

TEST_F(Win32RegistryTest, AccessorsAreIndependent) {
    scratch_.CreateKey(L"One");
    auto first = OpenScratch();
    auto second = registry_.NewAccess();
    ASSERT_TRUE(first->OpenKey("One"));
    second->SetRootKey(RootKey::LocalMachine);
    EXPECT_EQ(first->GetRootKey(), RootKey::CurrentUser);
    EXPECT_EQ(first->CurrentPath(), scratch_.Path("One"));
    EXPECT_FALSE(second->HasOpenKey());
}

}  // namespace
}  // namespace vantrel
