#include "scan/ScanContext.h"

#include <utility>

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
      paths_(files, std::move(fixedDriveLetters)),
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

void ScanContext::SetCaptionLabel(std::string_view text) {
    ThrowIfStopped();
    sink_.SetCaptionLabel(std::string(text));
}

void ScanContext::ShowProgressKey(std::string_view text) {
    ThrowIfStopped();
    sink_.ShowProgressKey(BreakProgressKey(text));
}

void ScanContext::AddScanIssue(std::string_view keyText, std::string_view valueText,
                               RepairKind kind) {
    ThrowIfStopped();
    const char* problem = check_ != nullptr ? check_->problemCaption : "";
    ScanIssue issue{problem, std::string(keyText), std::string(valueText), kind};
    sink_.AddScanIssue(std::move(issue));
}

}  // namespace vantrel
