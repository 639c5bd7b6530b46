#include "scan/ScanTaskThread.h"

#include <exception>

#include "scan/CheckTable.h"
#include "scan/FileExistenceCache.h"
#include "scan/PathTests.h"
#include "scan/ScanContext.h"

namespace vantrel {

TScanTaskThread::TScanTaskThread(RegistrySource& registry, FileSystem& files,
                                 WindowsVersion windowsVersion, ScanSink& sink)
    : registry_(registry),
      files_(files),
      windowsVersion_(windowsVersion),
      sink_(sink),
      fixedDriveLetters_(ComputeFixedDriveLetters(files)) {}

TScanTaskThread::~TScanTaskThread() {
    RequestStop();
    Wait();
}

void TScanTaskThread::Start() {
    worker_ = std::thread([this] { Execute(); });
}

void TScanTaskThread::Wait() {
    if (worker_.joinable())
        worker_.join();
}

void TScanTaskThread::Execute() {
    // The file system does not change during a scan, so its answers are kept for this scan only.
    FileExistenceCache files(files_);
    ScanContext context(registry_, files, fixedDriveLetters_, windowsVersion_, sink_,
                        stopRequested_);
    try {
        RunChecks(context);
    } catch (const ScanStopped&) {
        // Stopped by the user: the rows so far stay, nothing more is reported.
    } catch (const std::exception& error) {
        // A partial result must not pass for a whole one: say that and why.
        if (!StopRequested())
            sink_.ScanEndedEarly(error.what());
    }
}

void TScanTaskThread::RunChecks(ScanContext& context) {
    for (const std::string& entry : checkList_) {
        if (StopRequested())
            return;
        sink_.BeginCheckProgress();
        if (const auto id = ParseCheckId(entry))
            RunCheck(*id, context);
        if (StopRequested())
            return;
        sink_.EndCheckProgress();
    }
    if (!StopRequested())
        sink_.ScanFinished();
}

}  // namespace vantrel
