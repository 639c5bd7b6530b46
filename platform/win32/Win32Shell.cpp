#include "platform/win32/Win32Shell.h"

#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <utility>
#include <vector>

#include "platform/win32/UniqueHandle.h"

namespace vantrel {
namespace {

constexpr UINT kDeleteOperation = 3;          // FO_DELETE
constexpr FILEOP_FLAGS kSilentDelete = 0x14;  // FOF_SILENT | FOF_NOCONFIRMATION, no undo
constexpr UINT kFileSystemFoldersOnly = 1;    // BIF_RETURNONLYFSDIRS
constexpr UINT kBrowserInitialized = 1;       // BFFM_INITIALIZED
constexpr UINT kNoCriticalErrorBoxes = 1;     // SEM_FAILCRITICALERRORS
constexpr size_t kDisplayNameChars = MAX_PATH;

bool IsFolder(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Memory from the shell's allocator, freed with it once.
class ShellMemory {
  public:
    ShellMemory(IMalloc* allocator, void* memory) : allocator_(allocator), memory_(memory) {}
    ~ShellMemory() {
        if (memory_ != nullptr)
            allocator_->Free(memory_);
    }
    ShellMemory(const ShellMemory&) = delete;
    ShellMemory& operator=(const ShellMemory&) = delete;
    ShellMemory(ShellMemory&& other) noexcept
        : allocator_(other.allocator_), memory_(std::exchange(other.memory_, nullptr)) {}
    ShellMemory& operator=(ShellMemory&&) = delete;

    void* get() const { return memory_; }

  private:
    IMalloc* allocator_;
    void* memory_;
};

// The system's error mode, switched for the lifetime of this object.
class ErrorModeScope {
  public:
    explicit ErrorModeScope(UINT mode) : previous_(::SetErrorMode(mode)) {}
    ~ErrorModeScope() { ::SetErrorMode(previous_); }
    ErrorModeScope(const ErrorModeScope&) = delete;
    ErrorModeScope& operator=(const ErrorModeScope&) = delete;

  private:
    UINT previous_;
};

// Disables the calling thread's visible, enabled top-level windows, as a modal dialog does,
// and enables the same windows again when it goes.
class ThreadWindowsDisabled {
  public:
    ThreadWindowsDisabled() {
        ::EnumThreadWindows(::GetCurrentThreadId(), &DisableOne,
                            reinterpret_cast<LPARAM>(&disabled_));
    }
    ~ThreadWindowsDisabled() {
        for (HWND window : disabled_) {
            if (::IsWindow(window))
                ::EnableWindow(window, TRUE);
        }
    }
    ThreadWindowsDisabled(const ThreadWindowsDisabled&) = delete;
    ThreadWindowsDisabled& operator=(const ThreadWindowsDisabled&) = delete;

  private:
    static BOOL CALLBACK DisableOne(HWND window, LPARAM list) {
        if (::IsWindowVisible(window) && ::IsWindowEnabled(window)) {
            ::EnableWindow(window, FALSE);
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
        }
        return TRUE;
    }

    std::vector<HWND> disabled_;
};

// The item identifier list of `root` as the desktop folder parses it; null when it cannot.
ShellMemory ParseRoot(IMalloc* allocator, const std::wstring& root) {
    ComPtr<IShellFolder> desktop;
    if (root.empty() || FAILED(::SHGetDesktopFolder(desktop.put())))
        return {allocator, nullptr};
    std::wstring name = root;  // ParseDisplayName takes a writable text
    PIDLIST_RELATIVE list = nullptr;
    if (FAILED(desktop->ParseDisplayName(nullptr, nullptr, name.data(), nullptr, &list, nullptr)))
        return {allocator, nullptr};
    return {allocator, list};
}

}  // namespace

bool ShellDeleteFile(const std::string& fileName) {
    if (fileName.empty() || fileName.find_first_of("*?") != std::string::npos ||
        IsFolder(fileName)) {
        return false;
    }
    // The shell takes a list of names ended by an empty name.
    std::string source = fileName;
    source.push_back('\0');
    SHFILEOPSTRUCTA operation{};
    operation.hwnd = nullptr;
    operation.wFunc = kDeleteOperation;
    operation.pFrom = source.c_str();
    operation.pTo = nullptr;
    operation.fFlags = kSilentDelete;
    return ::SHFileOperationA(&operation) == 0;
}

bool ShellDeletedFile(const std::string& fileName) {
    if (ShellDeleteFile(fileName))
        return true;
    // The shell fails on a file that is already gone; that row's work is done all the same.
    if (::GetFileAttributesA(fileName.c_str()) != INVALID_FILE_ATTRIBUTES)
        return false;
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

bool SaveShortcutFile(const std::wstring& link, const std::wstring& target) {
    ComPtr<IShellLinkW> shellLink;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  shellLink.put_void())) ||
        FAILED(shellLink->SetPath(target.c_str()))) {
        return false;
    }
    ComPtr<IPersistFile> file;
    return SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, file.put_void())) &&
           SUCCEEDED(file->Save(link.c_str(), TRUE));
}

int CALLBACK BrowseDialogCallback(HWND window, UINT message, LPARAM, LPARAM) {
    if (message != kBrowserInitialized)
        return 0;
    RECT client{};
    int x = 0;
    int y = 0;
    if (::GetClientRect(window, &client)) {
        x = (::GetSystemMetrics(SM_CXSCREEN) - (client.right - client.left)) / 2;
        y = (::GetSystemMetrics(SM_CYSCREEN) - (client.bottom - client.top)) / 2;
    }
    ::SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
}

bool BrowseForDirectory(HWND owner, const std::string& prompt, const std::wstring& root,
                        std::string& directory) {
    if (!IsFolder(directory))
        directory.clear();
    ComPtr<IMalloc> allocator;
    if (FAILED(::SHGetMalloc(allocator.put())) || !allocator)
        return false;
    const ShellMemory buffer(allocator.get(), allocator->Alloc(kDisplayNameChars));
    if (buffer.get() == nullptr)
        return false;
    const ShellMemory rootList = ParseRoot(allocator.get(), root);

    BROWSEINFOA info{};
    info.hwndOwner = owner;
    info.pidlRoot = static_cast<PCIDLIST_ABSOLUTE>(rootList.get());
    info.pszDisplayName = static_cast<char*>(buffer.get());
    info.lpszTitle = prompt.c_str();
    info.ulFlags = kFileSystemFoldersOnly;
    info.lpfn = &BrowseDialogCallback;
    info.lParam = 0;

    PIDLIST_ABSOLUTE chosen = nullptr;
    {
        const ThreadWindowsDisabled modal;
        const ErrorModeScope noErrorBoxes(kNoCriticalErrorBoxes);
        chosen = ::SHBrowseForFolderA(&info);
    }
    if (chosen == nullptr)
        return false;
    const ShellMemory chosenList(allocator.get(), chosen);
    char* path = static_cast<char*>(buffer.get());
    path[0] = '\0';
    if (!::SHGetPathFromIDListA(chosen, path))
        return false;
    directory = path;
    return true;
}

bool CreateFolderWithParents(const std::string& folder) {
    if (folder.empty())
        return false;
    const int result = ::SHCreateDirectoryExA(nullptr, folder.c_str(), nullptr);
    return (result == ERROR_SUCCESS || result == ERROR_ALREADY_EXISTS ||
            result == ERROR_FILE_EXISTS) &&
           IsFolder(folder);
}

}  // namespace vantrel
