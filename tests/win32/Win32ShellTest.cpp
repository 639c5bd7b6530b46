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
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(90);
        while (dialog == nullptr && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            ::EnumThreadWindows(uiThread_, &FindDialog, reinterpret_cast<LPARAM>(&dialog));
        }
        if (dialog == nullptr)
            return;
        // Wine fills the tree slowly under load; the browser centres itself on its
        // initialized notification, which comes before it is shown.
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
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
            for (int i = 0; i < 300 && !EqualsIgnoringCase(SelectedText(tree), name); ++i) {
                if (i % 10 == 0)
                    ::SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE,
                                   reinterpret_cast<LPARAM>(select_.c_str()));
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            }
            const HWND ok = ::GetDlgItem(dialog, IDOK);
            for (int i = 0; i < 300 && ok != nullptr && !::IsWindowEnabled(ok); ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            ::PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        } else {
            ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        }
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
