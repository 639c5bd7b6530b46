#include "platform/win32/ChildProcess.h"

#include <vector>

namespace vantrel {

std::optional<ChildProcess> ChildProcess::StartHidden(const std::string& program,
                                                      std::string_view commandLine) {
    // Without a program the system would take the command line's first word and search for it.
    if (program.empty())
        return std::nullopt;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    // CreateProcess may write into the command line.
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    PROCESS_INFORMATION started{};
    if (!::CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, TRUE,
                          NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup, &started)) {
        return std::nullopt;
    }
    return ChildProcess(started.hProcess, started.hThread, started.dwProcessId, started.dwThreadId);
}

bool ChildProcess::HasEnded() const {
    return ::WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0;
}

bool ChildProcess::Terminate(UINT exitCode) {
    if (HasEnded())
        return false;
    return ::TerminateProcess(process_.get(), exitCode) != FALSE;
}

}  // namespace vantrel
