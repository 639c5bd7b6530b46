#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "platform/win32/UniqueHandle.h"

namespace vantrel {

// A started program: owns its process and thread handles and closes them when it goes. The
// program itself runs on after that unless it was terminated.
class ChildProcess {
  public:
    // Starts `program` (a full path: the system's search rules play no part) with the command
    // line `commandLine` (whose first word, by convention, names the program again), inheriting
    // handles, at normal priority, in the current environment and folder, its window hidden and
    // without standard handles. nullopt when it could not be started.
    static std::optional<ChildProcess> StartHidden(const std::string& program,
                                                   std::string_view commandLine);

    ChildProcess(ChildProcess&&) noexcept = default;
    ChildProcess& operator=(ChildProcess&&) noexcept = default;

    HANDLE Process() const { return process_.get(); }
    DWORD ProcessId() const { return processId_; }
    DWORD ThreadId() const { return threadId_; }
    // True once the program has ended, by itself or terminated; never waits.
    bool HasEnded() const;
    // Ends the program with this exit code; false when it had ended already or cannot be ended.
    bool Terminate(UINT exitCode);

  private:
    ChildProcess(HANDLE process, HANDLE thread, DWORD processId, DWORD threadId)
        : process_(process), thread_(thread), processId_(processId), threadId_(threadId) {}

    unique_handle process_;
    unique_handle thread_;
    DWORD processId_ = 0;
    DWORD threadId_ = 0;
};

}  // namespace vantrel
