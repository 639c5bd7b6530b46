// Obsolete Software: vendor and product keys under Software whose whole subtree holds no data.
#include <memory>
#include <string>
#include <vector>

#include "platform/PathText.h"
#include "platform/TextCase.h"
#include "scan/PathTests.h"
#include "scan/ScanContext.h"
#include "scan/checks/CheckSupport.h"

namespace vantrel {

namespace {
constexpr std::string_view kSoftwareKey = "Software";

void CheckObsoleteSoftwareKeys(ScanContext& context, std::string_view rootName,
                               std::string_view keyPath) {
    const RootKey root = RootKeyFromName(rootName);
    if (root == RootKey::None)
        return;
    const auto software = context.OpenRegistryKey(root, keyPath);
    if (!software)
        return;
    const std::vector<std::string> productNames = software->GetKeyNames();
    const std::string keyText = KeyText(UpperAscii(rootName), keyPath);
    for (const std::string& productName : productNames) {
        context.ThrowIfStopped();
        const std::string productPath = JoinKeyPath(keyPath, productName);
        context.ShowProgressKey(productPath);
        // A key the count cannot open, at any depth, counts as not empty: what the scan cannot
        // read is not known to be empty and must not be offered for deletion.
        if (CountKeyEntries(context.Registry(), root, productPath, 1, true, true) >= 1)
            continue;
        context.AddScanIssue(keyText, productName, RepairKind::DeleteSubkey);
    }
}
}  // namespace

void CheckObsoleteSoftware(ScanContext& context) {
    CheckObsoleteSoftwareKeys(context, "HKEY_CURRENT_USER", kSoftwareKey);
    CheckObsoleteSoftwareKeys(context, "HKEY_LOCAL_MACHINE", kSoftwareKey);
}

}  // namespace vantrel
