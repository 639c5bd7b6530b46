// What the packages ship, under Wine: the help file opens in the system's help viewer with its
// whole table of contents, and both programs carry the version record of the one version.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ProductVersion.h"
#include "platform/win32/ExecutableFolder.h"
#include "platform/win32/UniqueHandle.h"
#include "scan/CheckTable.h"
#include "tests/core/WaitUntil.h"

namespace vantrel {
namespace {

// The build's programs: beside the tests' folder, in bin.
std::string ProgramPath(const std::string& name) {
    std::string build = ExecutableFolder();
    build.resize(build.find_last_of('\\') + 1);
    return build + "bin\\" + name;
}

struct WindowSearch {
    DWORD process;
    HWND found;
};

HWND TopWindowOf(DWORD process, const char* caption) {
    WindowSearch search{process, nullptr};
    ::EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto& wanted = *reinterpret_cast<WindowSearch*>(data);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            if (owner != wanted.process || !::IsWindowVisible(window))
                return TRUE;
            wanted.found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    if (search.found == nullptr)
        return nullptr;
    char text[64] = {};
    ::GetWindowTextA(search.found, text, sizeof text);
    return std::string(text) == caption ? search.found : nullptr;
}

HWND ContentsTree(HWND viewer) {
    HWND tree = nullptr;
    ::EnumChildWindows(
        viewer,
        [](HWND child, LPARAM found) -> BOOL {
            char name[32] = {};
            ::GetClassNameA(child, name, sizeof name);
            if (std::string(name) != WC_TREEVIEWA)
                return TRUE;
            *reinterpret_cast<HWND*>(found) = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&tree));
    return tree;
}

TEST(ShippedFiles, TheHelpOpensInTheViewerWithItsWholeContents) {
    std::string commandLine = "C:\\windows\\hh.exe \"" + ProgramPath("Vantrel.chm") + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    ASSERT_TRUE(::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                 nullptr, &startup, &started));
    const unique_handle process(started.hProcess);
    const unique_handle thread(started.hThread);
    HWND viewer = nullptr;
    ASSERT_TRUE(test::WaitUntil([&] {
        viewer = TopWindowOf(started.dwProcessId, "Vantrel Help");
        return viewer != nullptr;
    })) << "no viewer titled as the help's project names it";
    HWND tree = nullptr;
    // The contents: the start page, the windows, backups, console and messages, the problems'
    // table, what to do after a repair, the keys and the questions (17 pages), and one entry for
    // each category of the check table.
    const size_t expected = 17 + ChecksInIdOrder().size();
    size_t count = 0;
    EXPECT_TRUE(test::WaitUntil(
        [&] {
            tree = ContentsTree(viewer);
            count = tree ? static_cast<size_t>(::SendMessageA(tree, TVM_GETCOUNT, 0, 0)) : 0;
            return count == expected;
        },
        std::chrono::seconds(20)))
        << count << " entries in the contents";
    ::PostMessageA(viewer, WM_CLOSE, 0, 0);
    EXPECT_EQ(::WaitForSingleObject(process.get(), 30000), WAIT_OBJECT_0);
}

std::string VersionString(const std::vector<char>& record, const char* name) {
    char* text = nullptr;
    UINT length = 0;
    const std::string path = std::string("\\StringFileInfo\\040904E4\\") + name;
    if (!::VerQueryValueA(record.data(), path.c_str(), reinterpret_cast<void**>(&text), &length))
        return {};
    return std::string(text);
}

TEST(ShippedFiles, BothProgramsCarryTheVersionRecord) {
    for (const char* program : {"Vantrel.exe", "vantrel-scan.exe"}) {
        SCOPED_TRACE(program);
        const std::string path = ProgramPath(program);
        DWORD ignored = 0;
        const DWORD size = ::GetFileVersionInfoSizeA(path.c_str(), &ignored);
        ASSERT_GT(size, 0u);
        std::vector<char> record(size);
        ASSERT_TRUE(::GetFileVersionInfoA(path.c_str(), 0, size, record.data()));
        EXPECT_EQ(VersionString(record, "ProductVersion"), kProductVersion);
        EXPECT_EQ(VersionString(record, "FileVersion"), kProductVersion);
        EXPECT_EQ(VersionString(record, "ProductName"), "Vantrel");
        EXPECT_EQ(VersionString(record, "OriginalFilename"), program);
        EXPECT_FALSE(VersionString(record, "FileDescription").empty());
        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT length = 0;
        ASSERT_TRUE(
            ::VerQueryValueA(record.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
        EXPECT_EQ(fixed->dwProductVersionMS,
                  MAKELONG(VANTREL_VERSION_MINOR, VANTREL_VERSION_MAJOR));
    }
}

// The window's manifest: administrator rights for Repair, common controls 6, per-monitor DPI
// awareness (without it Windows stretches every window as a bitmap), and the systems it is made
// for, without which Windows 8.1 and later tell it it runs on Windows 8.
TEST(ShippedFiles, TheWindowsManifestNamesItsSystems) {
    const std::string path = ProgramPath("Vantrel.exe");
    const HMODULE program = ::LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(program, nullptr);
    const HRSRC found = ::FindResourceA(program, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_NE(found, nullptr);
    const auto* bytes = static_cast<const char*>(::LockResource(::LoadResource(program, found)));
    const std::string manifest(bytes, ::SizeofResource(program, found));
    ::FreeLibrary(program);
    for (const char* expected : {"requireAdministrator", "Microsoft.Windows.Common-Controls",
                                 "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // 10 and 11
                                 "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // 8.1
                                 "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // 8
                                 "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // 7
                                 ">PerMonitorV2, PerMonitor<", ">true/pm<", "longPathAware"})
        EXPECT_NE(manifest.find(expected), std::string::npos) << expected;
}

}  // namespace
}  // namespace vantrel
