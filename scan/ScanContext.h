#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"
#include "platform/RegistryAccess.h"
#include "scan/CheckCatalogue.h"
#include "scan/PathTests.h"
#include "scan/ScanIssue.h"
#include "scan/ScanSink.h"

namespace vantrel {

// Thrown inside a check when the user has asked the scan to stop; the task catches it.
struct ScanStopped {};

// The text of the key label: a break (CR LF) before the 53rd character of a longer text.
std::string BreakProgressKey(std::string_view text);

// What a running check sees: registry accessors, the per-scan file system, the path tests,
// and the reporting operations. Every reporting operation first observes the stop request.
class ScanContext {
  public:
    ScanContext(RegistrySource& registry, FileSystem& files, std::string fixedDriveLetters,
                int windowsVersionCode, ScanSink& sink, const std::atomic<bool>& stopRequested);

    // A new accessor, read-only: a scan never writes.
    std::unique_ptr<RegistryAccess> NewRegistryAccess() const;
    RegistrySource& Registry() const { return registry_; }
    FileSystem& Files() const { return files_; }
    const PathTests& Paths() const { return paths_; }
    int WindowsVersion() const { return windowsVersionCode_; }

    void SetCaptionLabel(std::string_view text);
    void ShowProgressKey(std::string_view text);
    void AddScanIssue(std::string_view problem, std::string_view keyText,
                      std::string_view valueText, RepairKind kind);

    bool StopRequested() const { return stopRequested_.load(std::memory_order_relaxed); }
    // Checks and walkers call this between registry entries.
    void ThrowIfStopped() const {
        if (StopRequested())
            throw ScanStopped{};
    }

  private:
    RegistrySource& registry_;
    FileSystem& files_;
    PathTests paths_;
    int windowsVersionCode_;
    ScanSink& sink_;
    const std::atomic<bool>& stopRequested_;
};

// The problem caption of a check from the string table.
std::string ProblemCaption(CheckId id);
// The progress caption of a check from the string table ("" for a check that has none).
std::string ProgressCaption(CheckId id);

}  // namespace vantrel
