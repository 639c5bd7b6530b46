#pragma once

// The console companion run as a child process by the tests, its output caught in files.
#include <windows.h>

#include <string>

#include "platform/win32/UniqueHandle.h"
#include "tests/win32/ScratchArea.h"

namespace vantrel::test {

// vantrel-scan.exe of this build.
std::string ConsolePath();

struct ConsoleRun {
    DWORD exitCode = 0xFFFFFFFF;
    std::string out;
    std::string err;
};

// Runs the console companion (or a copy of it) with stdout and stderr in files of `folder`.
ConsoleRun RunConsole(const std::string& arguments, const ScratchFolder& folder,
                      const std::string& program = ConsolePath());

// The limited token of this process's user, as a prompt not started with "Run as administrator"
// holds it; empty when this process is not elevated or the system has no such token.
unique_handle LimitedToken();

// RunConsole with the rights of `token` instead of this process's.
ConsoleRun RunConsoleAs(HANDLE token, const std::string& arguments, const ScratchFolder& folder);

// The console companion started and left running, its output in files of `folder` (named
// after `name`), for tests that end it from outside. The destructor kills it if it still runs.
class ConsoleProcess {
  public:
    ConsoleProcess(const std::string& arguments, const ScratchFolder& folder,
                   const std::string& name = "console");
    ~ConsoleProcess();
    ConsoleProcess(const ConsoleProcess&) = delete;
    ConsoleProcess& operator=(const ConsoleProcess&) = delete;

    bool Started() const { return static_cast<bool>(process_); }
    bool Running() const;
    // Ends it at once, as the task manager does (TerminateProcess), and waits until it is gone.
    void Kill();
    // Waits for it to end (at most two minutes); its exit code.
    DWORD Wait();

  private:
    unique_handle process_;
};

}  // namespace vantrel::test
