#include "scan/ScanContext.h"

#include <utility>

#include "scan/ProtectedKeys.h"
#include "scan/RegistryViews.h"

namespace vantrel {

namespace {
constexpr std::string_view::size_type kProgressLineLength = 53;
}

std::string BreakProgressKey(std::string_view text) {
    if (text.size() <= kProgressLineLength)
        return std::string(text);
    std::string out(text.substr(0, kProgressLineLength - 1));
    out += "\r\n";
    out += text.substr(kProgressLineLength - 1);
    return out;
}

ScanContext::ScanContext(RegistrySource& registry, FileSystem& files, std::string fixedDriveLetters,
                         WindowsVersion windowsVersion, ScanSink& sink,
                         const std::atomic<bool>& stopRequested)
    : registry_(registry),
      files_(files),
      paths_(files, fixedDriveLetters),
      thirtyTwoBitFiles_(std::make_unique<ThirtyTwoBitFileView>(files)),
      thirtyTwoBitPaths_(*thirtyTwoBitFiles_, std::move(fixedDriveLetters)),
      windowsVersion_(windowsVersion),
      sink_(sink),
      stopRequested_(stopRequested) {}

std::unique_ptr<RegistryAccess> ScanContext::NewRegistryAccess(RootKey root) const {
    auto access = registry_.NewAccess();
    access->SetAccess(AccessMode::ReadOnly);
    access->SetRootKey(root);
    return access;
}

std::unique_ptr<RegistryAccess> ScanContext::OpenRegistryKey(RootKey root,
                                                             std::string_view keyPath) const {
    auto access = NewRegistryAccess(root);
    if (!access->OpenKey(keyPath))
        return nullptr;
    return access;
}

bool ScanContext::IsMissingFilePath(std::string_view keyPath, std::string_view text,
                                    std::string_view fileName, bool allowDirectory) const {
    const bool missing = paths_.IsMissingFilePath(text, fileName, allowDirectory);
    if (!missing || !IsThirtyTwoBitKeyPath(keyPath) || !thirtyTwoBitFiles_->IsOwnView())
        return missing;
    return thirtyTwoBitPaths_.IsMissingFilePath(text, fileName, allowDirectory);
}

bool ScanContext::FileExistsFor(std::string_view keyPath, std::string_view path) const {
    if (files_.FileExists(path))
        return true;
    return IsThirtyTwoBitKeyPath(keyPath) && thirtyTwoBitFiles_->FileExists(path);
}

void ScanContext::SetCaptionLabel(std::string_view text) {
    ThrowIfStopped();
    sink_.SetCaptionLabel(std::string(text));
}

void ScanContext::ShowProgressKey(std::string_view text) {
    ThrowIfStopped();
    sink_.ShowProgressKey(BreakProgressKey(text));
}

void ScanContext::AddScanIssue(std::string_view keyText, std::string_view valueText,
                               RepairKind kind, std::string reason, RowRisk risk,
                               RowEvidence evidence) {
    ThrowIfStopped();
    const char* problem = check_ != nullptr ? check_->problemCaption : "";
    ScanIssue issue{problem, std::string(keyText), std::string(valueText),
                    kind,    std::move(reason),    risk};
    issue.evidence = std::move(evidence);
    // A protected key is never offered for deletion, whatever a check makes of it.
    if (IsProtectedRow(issue))
        return;
    sink_.AddScanIssue(std::move(issue));
}

bool ScanContext::IsInstalledProgramKey(RootKey root, std::string_view keyPath) {
    if (!installedPrograms_)
        installedPrograms_ = InstalledPrograms::Read(*this);
    return installedPrograms_->OwnsKey(root, keyPath);
}

}  // namespace vantrel
