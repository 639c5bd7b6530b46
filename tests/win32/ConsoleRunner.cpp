#include "tests/win32/ConsoleRunner.h"

#include <gtest/gtest.h>

#include "platform/win32/ExecutableFolder.h"
#include "platform/win32/UniqueHandle.h"

namespace vantrel::test {

std::string ConsolePath() {
    std::string build = ExecutableFolder();  // ...\tests
    build.resize(build.find_last_of('\\') + 1);
    return build + "bin\\vantrel-scan.exe";
}

namespace {

constexpr DWORD kLongestRunMs = 120000;

unique_handle StartConsole(const std::string& arguments, const std::string& program,
                           const std::string& outPath, const std::string& errPath,
                           HANDLE token = nullptr) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    unique_file out(::CreateFileA(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    unique_file err(::CreateFileA(errPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nullptr;
    startup.hStdOutput = out.get();
    startup.hStdError = err.get();
    std::string commandLine = "\"" + program + "\" " + arguments;
    PROCESS_INFORMATION process{};
    const BOOL started =
        token == nullptr
            ? ::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                               nullptr, &startup, &process)
            : ::CreateProcessAsUserA(token, nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0,
                                     nullptr, nullptr, &startup, &process);
    if (!started) {
        ADD_FAILURE() << "cannot start " << commandLine;
        return {};
    }
    const unique_handle thread(process.hThread);
    return unique_handle(process.hProcess);
}

}  // namespace

namespace {

ConsoleRun RunToItsEnd(const std::string& arguments, const ScratchFolder& folder,
                       const std::string& program, HANDLE token) {
    const std::string outPath = folder.Path("stdout.txt");
    const std::string errPath = folder.Path("stderr.txt");
    ConsoleRun run;
    {
        const unique_handle process = StartConsole(arguments, program, outPath, errPath, token);
        if (!process)
            return run;
        EXPECT_EQ(::WaitForSingleObject(process.get(), kLongestRunMs), WAIT_OBJECT_0);
        ::GetExitCodeProcess(process.get(), &run.exitCode);
    }
    run.out = ReadFile(outPath);
    run.err = ReadFile(errPath);
    return run;
}

}  // namespace

ConsoleRun RunConsole(const std::string& arguments, const ScratchFolder& folder,
                      const std::string& program) {
    return RunToItsEnd(arguments, folder, program, nullptr);
}

unique_handle LimitedToken() {
    unique_handle own;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, own.put()))
        return {};
    TOKEN_ELEVATION elevation{};
    TOKEN_LINKED_TOKEN linked{};
    DWORD length = 0;
    if (!::GetTokenInformation(own.get(), TokenElevation, &elevation, sizeof elevation, &length) ||
        elevation.TokenIsElevated == 0 ||
        !::GetTokenInformation(own.get(), TokenLinkedToken, &linked, sizeof linked, &length))
        return {};
    const unique_handle limited(linked.LinkedToken);
    unique_handle primary;
    if (!::DuplicateTokenEx(limited.get(), TOKEN_ALL_ACCESS, nullptr, SecurityImpersonation,
                            TokenPrimary, primary.put()))
        return {};
    return primary;
}

ConsoleRun RunConsoleAs(HANDLE token, const std::string& arguments, const ScratchFolder& folder) {
    return RunToItsEnd(arguments, folder, ConsolePath(), token);
}

ConsoleProcess::ConsoleProcess(const std::string& arguments, const ScratchFolder& folder,
                               const std::string& name)
    : process_(StartConsole(arguments, ConsolePath(), folder.Path(name + "-stdout.txt"),
                            folder.Path(name + "-stderr.txt"))) {}

ConsoleProcess::~ConsoleProcess() {
    if (Running())
        Kill();
}

bool ConsoleProcess::Running() const {
    return process_ && ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

void ConsoleProcess::Kill() {
    if (!process_)
        return;
    ::TerminateProcess(process_.get(), 99);
    ::WaitForSingleObject(process_.get(), kLongestRunMs);
}

DWORD ConsoleProcess::Wait() {
    DWORD exitCode = 0xFFFFFFFF;
    if (!process_)
        return exitCode;
    EXPECT_EQ(::WaitForSingleObject(process_.get(), kLongestRunMs), WAIT_OBJECT_0);
    ::GetExitCodeProcess(process_.get(), &exitCode);
    return exitCode;
}

}  // namespace vantrel::test
