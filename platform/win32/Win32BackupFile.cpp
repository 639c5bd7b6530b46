#include "platform/win32/Win32BackupFile.h"

#include <shlobj.h>
#include <windows.h>

#include <algorithm>
#include <string>

#include "platform/win32/SystemMessage.h"
#include "platform/win32/UniqueHandle.h"

namespace vantrel {
namespace {

// WriteFile takes at most a DWORD of bytes per call; a block of a big subtree may be larger.
constexpr size_t kMaxChunk = 1u << 30;

// Writes all of `text`; the system's error code when a write fails or stops short.
DWORD WriteAll(HANDLE file, std::string_view text) {
    while (!text.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min(text.size(), kMaxChunk));
        DWORD written = 0;
        if (!::WriteFile(file, text.data(), chunk, &written, nullptr))
            return ::GetLastError();
        // A write that takes nothing would loop for ever; the disk is full.
        if (written == 0)
            return ERROR_DISK_FULL;
        text.remove_prefix(written);
    }
    return ERROR_SUCCESS;
}

bool IsFolder(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsMissing(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

[[noreturn]] void Raise(std::string_view action, const std::string& path, DWORD error) {
    throw BackupFileError(action, path, SystemMessage(error));
}

}  // namespace

bool Win32BackupFile::Exists(std::string_view path) {
    const std::string name(path);
    const DWORD attributes = ::GetFileAttributesA(name.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

void Win32BackupFile::Create(std::string_view path, std::string_view text) {
    const std::string name(path);
    // CREATE_NEW: a file that appeared since Exists is never overwritten.
    unique_file file(::CreateFileA(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                   CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        Raise("Cannot create", name, ::GetLastError());
    const DWORD error = WriteAll(file.get(), text);
    if (error == ERROR_SUCCESS)
        return;
    // No file without its full header may stay behind: a later export would append to it.
    file.reset();
    ::DeleteFileA(name.c_str());
    Raise("Cannot write", name, error);
}

void Win32BackupFile::Append(std::string_view path, std::string_view text) {
    const std::string name(path);
    // No write sharing: nothing else can write to the file between the seek and the write.
    unique_file file(::CreateFileA(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        Raise("Cannot open", name, ::GetLastError());
    LARGE_INTEGER end{};
    if (!::SetFilePointerEx(file.get(), LARGE_INTEGER{}, &end, FILE_END))
        Raise("Cannot write", name, ::GetLastError());
    const DWORD error = WriteAll(file.get(), text);
    if (error == ERROR_SUCCESS)
        return;
    // A file that ends in part of a block is unreadable to the registry editor as a whole: the
    // blocks before it must stay restorable.
    if (::SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN))
        ::SetEndOfFile(file.get());
    Raise("Cannot write", name, error);
}

void Win32BackupFile::Commit(std::string_view path) {
    const std::string name(path);
    // Flushing through any handle writes out everything cached for the file, including what
    // earlier handles wrote.
    unique_file file(::CreateFileA(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        Raise("Cannot open", name, ::GetLastError());
    if (!::FlushFileBuffers(file.get()))
        Raise("Cannot write", name, ::GetLastError());
}

std::string Win32BackupFile::Read(std::string_view path) {
    const std::string name(path);
    // Shared for writing too: another program may hold the file open, and reading harms no one.
    unique_file file(::CreateFileA(name.c_str(), GENERIC_READ,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        Raise("Cannot open", name, ::GetLastError());
    std::string text;
    char buffer[64 * 1024];
    while (true) {
        DWORD read = 0;
        if (!::ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr))
            Raise("Cannot read", name, ::GetLastError());
        if (read == 0)
            return text;
        text.append(buffer, read);
    }
}

void Win32BackupFile::CreateFolder(std::string_view path) {
    const std::string name(path);
    const int result = ::SHCreateDirectoryExA(nullptr, name.c_str(), nullptr);
    if (IsFolder(name))
        return;
    // A file of that name gives "already exists" too, but is no folder.
    Raise("Cannot create", name,
          result == ERROR_SUCCESS || result == ERROR_ALREADY_EXISTS || result == ERROR_FILE_EXISTS
              ? static_cast<DWORD>(ERROR_FILE_EXISTS)
              : static_cast<DWORD>(result));
}

namespace {

// A deletion of what is gone already succeeded.
void RaiseUnlessDeleted(bool deleted, const std::string& name) {
    const DWORD error = deleted ? ERROR_SUCCESS : ::GetLastError();
    if (!deleted && !IsMissing(error))
        Raise("Cannot delete", name, error);
}

}  // namespace

void Win32BackupFile::Remove(std::string_view path) {
    const std::string name(path);
    RaiseUnlessDeleted(::DeleteFileA(name.c_str()) != FALSE, name);
}

void Win32BackupFile::RemoveFolder(std::string_view path) {
    const std::string name(path);
    RaiseUnlessDeleted(::RemoveDirectoryA(name.c_str()) != FALSE, name);
}

BackupTime LocalBackupTime() {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

}  // namespace vantrel
