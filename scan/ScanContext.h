#pragma once

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"
#include "platform/RegistryAccess.h"
#include "platform/WindowsVersion.h"
#include "scan/CheckTable.h"
#include "scan/InstalledPrograms.h"
#include "scan/PathTests.h"
#include "scan/ScanIssue.h"
#include "scan/ScanSink.h"
#include "scan/ThirtyTwoBitFileView.h"

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
                WindowsVersion windowsVersion, ScanSink& sink,
                const std::atomic<bool>& stopRequested);

    // A new accessor at this root, read-only: a scan never writes.
    std::unique_ptr<RegistryAccess> NewRegistryAccess(RootKey root) const;
    // A new accessor with the key at keyPath below the root open; null when it cannot be
    // opened (a check passes over what it cannot read).
    std::unique_ptr<RegistryAccess> OpenRegistryKey(RootKey root, std::string_view keyPath) const;
    RegistrySource& Registry() const { return registry_; }
    FileSystem& Files() const { return files_; }
    const PathTests& Paths() const { return paths_; }

    // IsMissingFilePath for the text of a value in the key at keyPath. A value below a
    // Wow6432Node key is a 32-bit program's, and it names files as such a program sees them
    // (ThirtyTwoBitFileView); it is reported only when the native view misses the file too,
    // since the system leaves some System32 folders unredirected and 64-bit programs (the shell
    // among them) read some of the 32-bit registrations.
    bool IsMissingFilePath(std::string_view keyPath, std::string_view text,
                           std::string_view fileName, bool allowDirectory) const;
    // Whether the file that a value in the key at keyPath names exists, in either view for a
    // 32-bit program's value.
    bool FileExistsFor(std::string_view keyPath, std::string_view path) const;
    WindowsVersion Version() const { return windowsVersion_; }

    // The check now running: the rows added from now on carry its problem caption.
    void BeginCheck(const CategoryNode& check) { check_ = &check; }

    void SetCaptionLabel(std::string_view text);
    void ShowProgressKey(std::string_view text);
    // A row of the current check (no problem caption before the first check begins), with the
    // reason it is there: what was tested and what was found; and the evidence repair judges
    // the entry by again before deleting it.
    void AddScanIssue(std::string_view keyText, std::string_view valueText, RepairKind kind,
                      std::string reason, RowRisk risk = RowRisk::Safe, RowEvidence evidence = {});

    // Whether the key at keyPath below root lies in the Software key of a program the uninstall
    // lists show as still installed. The lists are read at the first question, once per scan.
    bool IsInstalledProgramKey(RootKey root, std::string_view keyPath);

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
    // Kept apart, so the path tests over it stay valid when the context is moved.
    std::unique_ptr<ThirtyTwoBitFileView> thirtyTwoBitFiles_;
    PathTests thirtyTwoBitPaths_;
    WindowsVersion windowsVersion_;
    const CategoryNode* check_ = nullptr;
    std::optional<InstalledPrograms> installedPrograms_;
    ScanSink& sink_;
    const std::atomic<bool>& stopRequested_;
};

}  // namespace vantrel
