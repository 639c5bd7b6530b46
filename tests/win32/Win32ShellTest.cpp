// The shell helpers against Wine's shell: silent deletion of one file, the folder browser.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32Shell.h"
#include "tests/core/WaitUntil.h"
#include "tests/win32/ScratchArea.h"

namespace vantrel {
namespace {

using test::ScratchFolder;

bool Exists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

TEST(Win32Shell, DeletesOneFileAndRefusesEverythingElse) {
    ScratchFolder folder;
    folder.CreateFile(L"victim.lnk");
    folder.CreateFile(L"bystander.lnk");
    folder.CreateFolder(L"sub");
    folder.CreateFile(L"sub\\inside.lnk");

    EXPECT_TRUE(ShellDeleteFile(folder.Path("victim.lnk")));
    EXPECT_FALSE(Exists(folder.Path("victim.lnk")));

    struct Case {
        const char* name;
        std::string path;
    };
    const Case refused[] = {
        {"a file that is gone", folder.Path("victim.lnk")},
        {"a wildcard", folder.Path("*.lnk")},
        {"a single-character wildcard", folder.Path("bystander.ln?")},
        {"a folder", folder.Path("sub")},
        {"an empty name", ""},
    };
    for (const auto& c : refused)
        EXPECT_FALSE(ShellDeleteFile(c.path)) << c.name;
    EXPECT_TRUE(Exists(folder.Path("bystander.lnk")));
    EXPECT_TRUE(Exists(folder.Path("sub\\inside.lnk")));

    // Repair's view: a file that is gone, even with its folder, is done with; a folder is not.
    EXPECT_TRUE(ShellDeletedFile(folder.Path("victim.lnk")));
    EXPECT_TRUE(ShellDeletedFile(folder.Path("no folder\\victim.lnk")));
    EXPECT_FALSE(ShellDeletedFile(folder.Path("sub")));
    EXPECT_TRUE(ShellDeletedFile(folder.Path("bystander.lnk")));
    EXPECT_FALSE(Exists(folder.Path("bystander.lnk")));
}

TEST(Win32Shell, CreatesFoldersWithTheirParents) {
    ScratchFolder folder;
    folder.CreateFile(L"a file");
    EXPECT_TRUE(CreateFolderWithParents(folder.Path("one\\two\\three")));
    EXPECT_TRUE(Exists(folder.Path("one\\two\\three")));
    EXPECT_TRUE(CreateFolderWithParents(folder.Path("one\\two"))) << "already there";
    EXPECT_FALSE(CreateFolderWithParents(folder.Path("a file"))) << "a file, not a folder";
    EXPECT_FALSE(CreateFolderWithParents(folder.Path("a file\\below")));
    EXPECT_FALSE(CreateFolderWithParents(""));
}

// Waits on another thread for the calling thread's folder browser, notes where it stands and
// answers it with a selection and OK, or with Cancel.
class BrowserAnswer {
  public:
    BrowserAnswer(DWORD uiThread, std::string select)
        : uiThread_(uiThread), select_(std::move(select)), worker_([this] { Run(); }) {}
    ~BrowserAnswer() { worker_.join(); }
    BrowserAnswer(const BrowserAnswer&) = delete;
    BrowserAnswer& operator=(const BrowserAnswer&) = delete;

    bool Found() const { return found_; }
    RECT Window() const { return window_; }
    RECT Client() const { return client_; }
    bool OwnerWasDisabled() const { return ownerDisabled_; }
    void SetOwner(HWND owner) { owner_ = owner; }

  private:
    static BOOL CALLBACK FindDialog(HWND window, LPARAM found) {
        char name[16] = {};
        ::GetClassNameA(window, name, sizeof name);
        if (std::string(name) == "#32770" && ::IsWindowVisible(window)) {
            *reinterpret_cast<HWND*>(found) = window;
            return FALSE;
        }
        return TRUE;
    }
    void Run() {
        HWND dialog = nullptr;
        if (!test::WaitUntil([&] {
                ::EnumThreadWindows(uiThread_, &FindDialog, reinterpret_cast<LPARAM>(&dialog));
                return dialog != nullptr;
            }))
            return;
        // The browser centres itself on its initialized notification, before it is shown; a
        // loaded Wine may show it first. The position is read once it has moved, or at the
        // limit, when the test's own comparison tells what went wrong.
        test::WaitUntil([&] { return IsCentredByClientArea(dialog); }, std::chrono::seconds(10));
        found_ = true;
        ::GetWindowRect(dialog, &window_);
        ::GetClientRect(dialog, &client_);
        ownerDisabled_ = owner_ != nullptr && !::IsWindowEnabled(owner_);
        if (!select_.empty()) {
            // OK only once the browser's tree shows the folder selected: Wine applies the
            // selection later, may drop one sent while it still fills its tree, and takes an
            // earlier OK for its default folder. So the selection is sent again until it shows.
            const std::string name = select_.substr(select_.find_last_of('\\') + 1);
            const HWND tree = FindTree(dialog);
            auto lastSent = std::chrono::steady_clock::time_point{};
            test::WaitUntil([&] {
                if (EqualsIgnoringCase(SelectedText(tree), name))
                    return true;
                if (std::chrono::steady_clock::now() - lastSent > std::chrono::seconds(1)) {
                    ::SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE,
                                   reinterpret_cast<LPARAM>(select_.c_str()));
                    lastSent = std::chrono::steady_clock::now();
                }
                return false;
            });
            const HWND ok = ::GetDlgItem(dialog, IDOK);
            test::WaitUntil([&] { return ok == nullptr || ::IsWindowEnabled(ok); });
            ::PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        } else {
            ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        }
    }

    static bool IsCentredByClientArea(HWND dialog) {
        RECT window{};
        RECT client{};
        ::GetWindowRect(dialog, &window);
        ::GetClientRect(dialog, &client);
        return window.left ==
                   (::GetSystemMetrics(SM_CXSCREEN) - (client.right - client.left)) / 2 &&
               window.top == (::GetSystemMetrics(SM_CYSCREEN) - (client.bottom - client.top)) / 2;
    }

    static HWND FindTree(HWND dialog) {
        HWND tree = nullptr;
        ::EnumChildWindows(
            dialog,
            [](HWND child, LPARAM found) -> BOOL {
                char className[64] = {};
                ::GetClassNameA(child, className, sizeof className);
                if (std::string(className) != WC_TREEVIEWA)
                    return TRUE;
                *reinterpret_cast<HWND*>(found) = child;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&tree));
        return tree;
    }
    // The caption of the tree's selected item (same process: the item text comes back).
    static std::string SelectedText(HWND tree) {
        if (tree == nullptr)
            return {};
        const auto item =
            reinterpret_cast<HTREEITEM>(::SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
        if (item == nullptr)
            return {};
        char text[MAX_PATH] = {};
        TVITEMA query{};
        query.mask = TVIF_TEXT;
        query.hItem = item;
        query.pszText = text;
        query.cchTextMax = sizeof text;
        ::SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query));
        return text;
    }
    static bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
        return ::lstrcmpiA(a.c_str(), b.c_str()) == 0;
    }

    DWORD uiThread_;
    std::string select_;
    std::atomic<HWND> owner_{nullptr};
    std::atomic<bool> found_{false};
    std::atomic<bool> ownerDisabled_{false};
    RECT window_{};
    RECT client_{};
    std::thread worker_;
};

class BrowseForDirectoryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(com_.Succeeded());
        owner_ = ::CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                   200, 100, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(owner_, nullptr);
    }
    void TearDown() override { ::DestroyWindow(owner_); }

    ComInitializer com_;
    HWND owner_ = nullptr;
    ScratchFolder folder_;
};

TEST_F(BrowseForDirectoryTest, CancelReturnsFalseAndRestoresTheWindowsAndErrorMode) {
    const UINT errorMode = ::SetErrorMode(0);
    std::string directory = folder_.Path();
    bool chosen = true;
    {
        BrowserAnswer answer(::GetCurrentThreadId(), "");
        answer.SetOwner(owner_);
        chosen = BrowseForDirectory(owner_, "Pick a folder", L"", directory);
        ASSERT_TRUE(answer.Found()) << "no browser appeared";
        EXPECT_TRUE(answer.OwnerWasDisabled());
        // Centred by its client area, halves truncated.
        const RECT client = answer.Client();
        EXPECT_EQ(answer.Window().left,
                  (::GetSystemMetrics(SM_CXSCREEN) - (client.right - client.left)) / 2);
        EXPECT_EQ(answer.Window().top,
                  (::GetSystemMetrics(SM_CYSCREEN) - (client.bottom - client.top)) / 2);
    }
    EXPECT_FALSE(chosen);
    EXPECT_EQ(directory, folder_.Path()) << "a cancelled browser leaves the folder alone";
    EXPECT_TRUE(::IsWindowEnabled(owner_));
    EXPECT_EQ(::SetErrorMode(errorMode), 0u) << "the error mode is restored";
}

TEST_F(BrowseForDirectoryTest, ChosenFolderIsReturned) {
    folder_.CreateFolder(L"chosen");
    std::string directory = "C:\\no such folder at all";
    bool chosen = false;
    {
        BrowserAnswer answer(::GetCurrentThreadId(), folder_.Path("chosen"));
        chosen = BrowseForDirectory(owner_, "Pick a folder", L"", directory);
        ASSERT_TRUE(answer.Found()) << "no browser appeared";
    }
    EXPECT_TRUE(chosen);
    std::string expected = folder_.Path("chosen");
    ::CharUpperA(directory.data());
    ::CharUpperA(expected.data());
    EXPECT_EQ(directory, expected);
}

}  // namespace
}  // namespace vantrel
