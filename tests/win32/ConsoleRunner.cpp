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

ConsoleRun RunConsole(const std::string& arguments, const ScratchFolder& folder,
                      const std::string& program) {
    const std::string outPath = folder.Path("stdout.txt");
    const std::string errPath = folder.Path("stderr.txt");
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    ConsoleRun run;
    {
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
        if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                              nullptr, &startup, &process)) {
            ADD_FAILURE() << "cannot start " << commandLine;
            return run;
        }
        const unique_handle processHandle(process.hProcess);
        const unique_handle threadHandle(process.hThread);
        EXPECT_EQ(::WaitForSingleObject(processHandle.get(), 120000), WAIT_OBJECT_0);
        ::GetExitCodeProcess(processHandle.get(), &run.exitCode);
    }
    run.out = ReadFile(outPath);
    run.err = ReadFile(errPath);
    return run;
}

}  // namespace vantrel::test
