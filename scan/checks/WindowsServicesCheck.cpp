// Windows Services: service registrations whose program path names a missing file.
#include <memory>
#include <string>
#include <vector>

#include "platform/PathText.h"
#include "scan/CheckTable.h"
#include "scan/RowReasons.h"
#include "scan/ScanContext.h"
#include "scan/checks/CheckSupport.h"
#include "scan/checks/EntryRules.h"

namespace vantrel {

extern const RegistryList kServicesList = {RootKey::LocalMachine,
                                           "SYSTEM\\CurrentControlSet\\Services",
                                           ListKey::Container, ListWalk::Shared};

namespace {
constexpr std::string_view kImagePath = "ImagePath";
}  // namespace

void CheckWindowsServices(ScanContext& context) {
    const auto key = context.OpenRegistryKey(kServicesList.root, kServicesList.path);
    if (!key)
        return;
    const std::vector<std::string> serviceNames = key->GetKeyNames();
    key->CloseKey();
    for (const std::string& serviceName : serviceNames) {
        context.ThrowIfStopped();
        const std::string servicePath = JoinKeyPath(kServicesList.path, serviceName);
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
        context.AddScanIssue(ValueKeyText(RootKeyName(kServicesList.root), servicePath, kImagePath),
                             imagePath, RepairKind::DeleteValueInKey,
                             "the service's program does not exist: " + imagePath, RowRisk::Safe,
                             MissingPathEvidence({}, true));
    }
}

}  // namespace vantrel
