#pragma once

// The console companion run as a child process by the tests, its output caught in files.
#include <windows.h>

#include <string>

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

}  // namespace vantrel::test
