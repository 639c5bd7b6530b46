// The small Win32 helpers: handle ownership, COM initialisation, ANSI text, the version code.
#include <windows.h>

#include <objbase.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/WindowsVersion.h"
#include "platform/win32/AnsiText.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32Version.h"

namespace vantrel {
namespace {

bool IsOpenHandle(HANDLE handle) {
    DWORD flags = 0;
    return ::GetHandleInformation(handle, &flags) != FALSE;
}

HANDLE NewEvent() {
    return ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
}

TEST(UniqueHandle, ClosesOnceAndMovesOwnership) {
    HANDLE raw = nullptr;
    {
        unique_handle first(NewEvent());
        raw = first.get();
        ASSERT_TRUE(IsOpenHandle(raw));
        unique_handle second(std::move(first));
        EXPECT_FALSE(first);
        EXPECT_EQ(second.get(), raw);
        unique_handle third;
        third = std::move(second);
        EXPECT_TRUE(IsOpenHandle(raw)) << "moving does not close";
    }
    EXPECT_FALSE(IsOpenHandle(raw)) << "the last owner closed it";
}

TEST(UniqueHandle, ResetPutAndRelease) {
    unique_handle owner(NewEvent());
    const HANDLE firstRaw = owner.get();
    *owner.put() = NewEvent();
    EXPECT_FALSE(IsOpenHandle(firstRaw)) << "put closes the old handle";
    const HANDLE released = owner.release();
    EXPECT_FALSE(owner);
    EXPECT_TRUE(IsOpenHandle(released)) << "release does not close";
    owner.reset(released);
    owner.reset();
    EXPECT_FALSE(IsOpenHandle(released));
}

TEST(UniqueHandle, FindHandleTreatsInvalidValueAsEmpty) {
    WIN32_FIND_DATAW found{};
    unique_find search(::FindFirstFileW(L"C:\\no-such-folder-vantrel\\*", &found));
    EXPECT_FALSE(search);
    unique_find root(::FindFirstFileW(L"C:\\*", &found));
    EXPECT_TRUE(root);
}

TEST(ComInitializer, BalancesNestedInitialisation) {
    std::thread([] {
        ComInitializer outer;
        EXPECT_EQ(outer.Result(), S_OK);
        {
            ComInitializer inner;
            EXPECT_EQ(inner.Result(), S_FALSE);
            EXPECT_TRUE(inner.Succeeded());
        }
        // Still initialised after the inner one ended.
        EXPECT_EQ(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_FALSE);
        ::CoUninitialize();
    }).join();
}

TEST(ComInitializer, OtherApartmentIsLeftAlone) {
    std::thread([] {
        ASSERT_EQ(::CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
        {
            ComInitializer apartment(COINIT_APARTMENTTHREADED);
            EXPECT_FALSE(apartment.Succeeded());
        }
        // The thread's own initialisation was not undone.
        EXPECT_EQ(::CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_FALSE);
        ::CoUninitialize();
        ::CoUninitialize();
    }).join();
}

class AnsiTextTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (::GetACP() != 1252)
            GTEST_SKIP() << "rows are written for code page 1252";
    }
};

TEST_F(AnsiTextTest, ToAnsiReportsEveryLoss) {
    struct Row {
        const char* label;
        std::wstring wide;
        std::string ansi;
        bool exact;
    };
    const std::vector<Row> rows = {
        {"empty", L"", "", true},
        {"ascii", L"C:\\a.exe", "C:\\a.exe", true},
        {"western letter", L"caf\u00E9", "caf\xE9", true},
        {"euro sign", L"\u20AC", "\x80", true},
        {"a real question mark", L"?", "?", true},
        {"embedded zeros kept", std::wstring(L"a\0b\0", 4), std::string("a\0b\0", 4), true},
        {"ideograph", L"\u65E5", "?", false},
        {"no best fit: A with macron is not turned into A", L"\u0100", "?", false},
        {"no best fit: fi ligature", L"\uFB01", "?", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        const AnsiText converted = ToAnsi(row.wide);
        EXPECT_EQ(converted.text, row.ansi);
        EXPECT_EQ(converted.exact, row.exact);
    }
}

TEST_F(AnsiTextTest, ToWideConvertsTheCodePage) {
    EXPECT_EQ(ToWide(""), L"");
    EXPECT_EQ(ToWide("caf\xE9"), L"caf\u00E9");
    EXPECT_EQ(ToWide("\x80"), L"\u20AC");
    EXPECT_EQ(ToWide(std::string("a\0b", 3)), std::wstring(L"a\0b", 3));
}

TEST(Win32Version, RunningSystemIsOfTheNtFamily) {
    const WindowsVersion version = CurrentWindowsVersion();
    EXPECT_FALSE(IsWindows9x(version)) << static_cast<int>(version);
}

}  // namespace
}  // namespace vantrel
