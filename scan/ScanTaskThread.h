#pragma once

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/RegistryAccess.h"
#include "platform/WindowsVersion.h"
#include "scan/ScanSink.h"

namespace vantrel {

// Runs the checks of its list in order, on a worker thread (Start) or on the calling thread
// (Execute), reporting to the sink. FixedDriveLetters is computed when the task is created.
class TScanTaskThread {
  public:
    TScanTaskThread(RegistrySource& registry, FileSystem& files, WindowsVersion windowsVersion,
                    ScanSink& sink);
    // Asks a running worker to stop and waits for it.
    ~TScanTaskThread();
    TScanTaskThread(const TScanTaskThread&) = delete;
    TScanTaskThread& operator=(const TScanTaskThread&) = delete;

    // The CheckId texts to run, in order; filled before the start.
    std::vector<std::string>& CheckList() { return checkList_; }
    const std::string& FixedDriveLetters() const { return fixedDriveLetters_; }

    void Start();
    void Execute();
    // Observed by the checks between registry entries; after it nothing more reaches the sink.
    void RequestStop() { stopRequested_.store(true); }
    bool StopRequested() const { return stopRequested_.load(); }
    // Waits for a started worker to end.
    void Wait();

  private:
    void RunChecks(class ScanContext& context);

    RegistrySource& registry_;
    FileSystem& files_;
    WindowsVersion windowsVersion_;
    ScanSink& sink_;
    std::vector<std::string> checkList_;
    std::string fixedDriveLetters_;
    std::atomic<bool> stopRequested_{false};
    std::thread worker_;
};

}  // namespace vantrel
