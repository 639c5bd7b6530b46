// What only the Win32 adapter does, against Wine's real registry: its UTF-16 text, its read
// buffers and its call counts. What every registry does is in tests/contract.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
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

// Text is read as UTF-16: data of an odd length has a byte that no character holds.
TEST_F(Win32RegistryTest, StringOfOddLengthReadsAsNotExact) {
    scratch_.SetValue(L"Odd", REG_SZ, {'a', 0, 'b'});
    for (const bool listedFirst : {false, true}) {
        SCOPED_TRACE(listedFirst ? "listed" : "direct");
        auto access = OpenScratch();
        if (listedFirst)
            access->GetValueNames();
        const RawValue raw = access->ReadRawValue("Odd");
        EXPECT_EQ(raw.type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(raw.data, Bytes("a"));
        EXPECT_FALSE(raw.exact);
    }
}

// Longer than the first read's buffer in the direct path.
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

// A name outside the code page is listed as "val?"; a value really named "val?" is still the one
// read by that name, also when the read before it left off just ahead of the inexact name (Wine
// lists the values as "val?", "valz", then the inexact one).
TEST_F(Win32RegistryTest, AnInexactListedNameNeverStandsForAValueOfThatText) {
    scratch_.SetValue(L"val\u4E00", REG_SZ, WideBytes(std::wstring_view(L"other", 6)));
    scratch_.SetString(L"val?", L"the real one");
    scratch_.SetString(L"valz", L"z");
    for (const bool listedFirst : {false, true}) {
        SCOPED_TRACE(listedFirst ? "listed" : "direct");
        auto access = OpenScratch();
        if (listedFirst) {
            const auto names = access->GetValueNames();
            EXPECT_EQ(std::count(names.begin(), names.end(), "val?"), 2);
        }
        EXPECT_EQ(access->ReadString("valz"), "z");
        EXPECT_EQ(access->ReadString("val?"), "the real one");
    }
}

TEST_F(Win32RegistryTest, WriteStringStoresTheTextInUtf16) {
    auto access = OpenScratch();
    access->WriteString("New", "caf\xE9");
    const auto [type, data] = scratch_.NativeValue(L"New");
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    if (::GetACP() == 1252) {
        EXPECT_EQ(data, WideBytes(std::wstring_view(L"caf\u00E9", 5)));
    }
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

// A key deleted under an open handle makes the registry break its listings off with an error.
// Such a listing lists nothing, which must not pass for "no names": a backup of the key made
// from it would hold none of what the key held.
TEST_F(Win32RegistryTest, AListingTheRegistryBreaksOffIsNotExact) {
    struct Case {
        const char* name;
        bool keyDeleted;
        bool values;  // GetValueNames, else GetKeyNames
        bool exact;
    };
    const Case cases[] = {
        {"subkeys of a live key", false, false, true},
        {"values of a live key", false, true, true},
        {"subkeys of a deleted key", true, false, false},
        {"values of a deleted key", true, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        scratch_.CreateKey(L"Below\\Sub");
        scratch_.SetValue(L"Value", REG_SZ, WideBytes(std::wstring_view(L"x", 2)), L"Below");
        auto access = registry_.NewAccess();
        access->SetAccess(AccessMode::ReadOnly);
        ASSERT_TRUE(access->OpenKey(scratch_.Path("Below")));
        if (c.keyDeleted) {
            const std::string below = scratch_.Path("Below");  // plain ASCII
            ASSERT_EQ(::RegDeleteTreeW(HKEY_CURRENT_USER,
                                       std::wstring(below.begin(), below.end()).c_str()),
                      ERROR_SUCCESS);
        }
        const auto names = c.values ? access->GetValueNames() : access->GetKeyNames();
        EXPECT_EQ(access->LastNamesExact(), c.exact);
        if (c.exact) {
            EXPECT_EQ(names.size(), 1u);
        }
    }
}

}  // namespace
}  // namespace vantrel
