// Obsolete Software: vendor and product keys under Software whose whole subtree holds no data.
#include <memory>
#include <string>
#include <vector>

#include "platform/TextCase.h"
#include "scan/Checks.h"
#include "scan/checks/CheckSupport.h"

namespace vantrel {

namespace {
constexpr CheckId kObsoleteSoftwareId = 14;
// The check shows the Software Locations caption; it has none of its own.
constexpr CheckId kCaptionFromId = 6;
constexpr std::string_view kSoftwareKey = "Software";

void CheckObsoleteSoftwareKeys(ScanContext& context, std::string_view rootName,
                               std::string_view keyPath, const std::string& problem) {
    const RootKey root = RootKeyFromName(rootName);
    if (root == RootKey::None)
        return;
    auto software = context.NewRegistryAccess();
    software->SetRootKey(root);
    if (!software->OpenKey(keyPath))
        return;
    const std::vector<std::string> productNames = software->GetKeyNames();
    const std::string keyText = JoinKeyText(UpperAscii(rootName), "", keyPath);
    for (const std::string& productName : productNames) {
        context.ThrowIfStopped();
        const std::string productPath = std::string(keyPath) + '\\' + productName;
        context.ShowProgressKey(productPath);
        // The count takes a key it cannot open for empty; a key the scan cannot read is not
        // known to be empty and must not be offered for deletion.
        if (!software->KeyExists(productName))
            continue;
        if (CountKeyEntries(context.Registry(), root, productPath, 1, true, true) >= 1)
            continue;
        context.AddScanIssue(problem, keyText, productName, RepairKind::DeleteSubkey);
    }
}
}  // namespace

void CheckObsoleteSoftware(ScanContext& context) {
    context.SetCaptionLabel(ProgressCaption(kCaptionFromId));
    const std::string problem = ProblemCaption(kObsoleteSoftwareId);
    CheckObsoleteSoftwareKeys(context, "HKEY_CURRENT_USER", kSoftwareKey, problem);
    CheckObsoleteSoftwareKeys(context, "HKEY_LOCAL_MACHINE", kSoftwareKey, problem);
}

}  // namespace vantrel
