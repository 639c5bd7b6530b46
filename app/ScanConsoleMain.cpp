// vantrel-scan: the scan engine without a window, for scripts, the demo and the tests.
#include <io.h>
#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/ConsoleScanSink.h"
#include "app/ScanCommandLine.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Version.h"
#include "scan/ScanTaskThread.h"

namespace {

constexpr int kExitNoProblems = 0;
constexpr int kExitProblems = 1;
constexpr int kExitError = 2;

int RunScan(const vantrel::ScanCommandLine& line) {
    vantrel::Win32Registry registry;
    vantrel::Win32FileSystem files;
    const bool progressOnTerminal = _isatty(_fileno(stderr)) != 0;
    vantrel::ConsoleScanSink sink(stdout, progressOnTerminal ? stderr : nullptr, line.json);

    vantrel::TScanTaskThread task(registry, files, vantrel::CurrentWindowsVersionCode(), sink);
    task.CheckList() = line.checks;
    sink.BeginReport();
    task.Execute();
    sink.EndReport();

    if (sink.EndedEarly()) {
        std::fprintf(stderr, "vantrel-scan: the scan stopped early: %s\n",
                     sink.EarlyEndReason().c_str());
        return kExitError;
    }
    return sink.RowCount() == 0 ? kExitNoProblems : kExitProblems;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    std::string error;
    const auto line = vantrel::ParseScanCommandLine(args, error);
    if (!line) {
        std::fprintf(stderr, "vantrel-scan: %s\n\n%s", error.c_str(),
                     vantrel::ScanUsage().c_str());
        return kExitError;
    }
    if (line->help) {
        std::fputs(vantrel::ScanUsage().c_str(), stdout);
        return kExitNoProblems;
    }
    // Shortcut resolution on the scan thread needs COM.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const int status = RunScan(*line);
    if (SUCCEEDED(com)) CoUninitialize();
    return status;
}
