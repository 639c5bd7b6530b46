#pragma once

// A symbolic link on the host's file system inside Wine's drive C: what Wine lists as a junction
// or symbolic link (a reparse point). Wine cannot make one itself, so the host's ln makes it,
// started as Wine starts any host program, and rm removes it again.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace vantrel::test {

class UnixSymlink {
  public:
    // A link at linkPath (a Windows path whose folder exists) to target, as ln takes it.
    UnixSymlink(const std::wstring& linkPath, const std::string& target)
        : unixPath_(UnixPathOf(linkPath)) {
        if (!unixPath_.empty())
            Run(L"Z:\\bin\\ln", "ln -s \"" + target + "\" \"" + unixPath_ + "\"");
        created_ = (::GetFileAttributesW(linkPath.c_str()) & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    }
    ~UnixSymlink() {
        if (!unixPath_.empty())
            Run(L"Z:\\bin\\rm", "rm -f \"" + unixPath_ + "\"");
    }
    UnixSymlink(const UnixSymlink&) = delete;
    UnixSymlink& operator=(const UnixSymlink&) = delete;

    // True once Wine lists the link as a reparse point.
    bool Created() const { return created_; }

  private:
    static std::string UnixPathOf(const std::wstring& path) {
        using UnixFileName = char*(CDECL*)(const WCHAR*);
        const auto unixFileName = reinterpret_cast<UnixFileName>(reinterpret_cast<void*>(
            ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
        if (unixFileName == nullptr)
            return "";
        char* name = unixFileName(path.c_str());
        if (name == nullptr)
            return "";
        std::string unixPath(name);
        ::HeapFree(::GetProcessHeap(), 0, name);
        return unixPath;
    }

    // Starts the host program and waits for it.
    static void Run(const wchar_t* program, const std::string& commandLine) {
        std::wstring command(commandLine.begin(), commandLine.end());
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (!::CreateProcessW(program, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                              &startup, &process)) {
            ADD_FAILURE() << "cannot start the host's " << commandLine;
            return;
        }
        ::WaitForSingleObject(process.hProcess, INFINITE);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }

    std::string unixPath_;
    bool created_ = false;
};

}  // namespace vantrel::test
