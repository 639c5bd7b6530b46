// Windows Services: service registrations whose program path names a missing file.
#include <memory>
#include <string>
#include <vector>

#include "scan/Checks.h"
#include "scan/checks/CheckSupport.h"

namespace vantrel {

namespace {
constexpr CheckId kWindowsServicesId = 15;
constexpr std::string_view kServicesKey = "SYSTEM\\CurrentControlSet\\Services";
constexpr std::string_view kImagePath = "ImagePath";
}  // namespace

void CheckWindowsServices(ScanContext& context) {
    context.SetCaptionLabel(ProgressCaption(kWindowsServicesId));
    const std::string problem = ProblemCaption(kWindowsServicesId);
    auto key = context.NewRegistryAccess();
    key->SetRootKey(RootKey::LocalMachine);
    if (!key->OpenKey(kServicesKey))
        return;
    const std::vector<std::string> serviceNames = key->GetKeyNames();
    key->CloseKey();
    for (const std::string& serviceName : serviceNames) {
        context.ThrowIfStopped();
        const std::string servicePath = std::string(kServicesKey) + '\\' + serviceName;
        // With no key open the path is taken from the root.
        if (!key->OpenKey(servicePath))
            continue;
        OpenKeyScope serviceScope(*key);
        context.ShowProgressKey(servicePath);
        // Drivers' paths (system32\drivers\x.sys, \SystemRoot\...) carry no drive and are
        // never judged missing.
        if (!IsStringValueType(key->GetDataType(kImagePath)))
            continue;
        const std::string imagePath = key->ReadString(kImagePath);
        if (!context.Paths().IsMissingFilePath(imagePath, {}, true))
            continue;
        context.AddScanIssue(problem, JoinKeyText("HKEY_LOCAL_MACHINE", servicePath, kImagePath),
                             imagePath, RepairKind::DeleteValueInKey);
    }
}

}  // namespace vantrel
