// Obsolete Software: vendor and product keys under Software whose whole subtree holds no data.
#include <memory>
#include <string>
#include <vector>

#include "platform/PathText.h"
#include "platform/TextCase.h"
#include "scan/CheckTable.h"
#include "scan/PathTests.h"
#include "scan/RowReasons.h"
#include "scan/RowTarget.h"
#include "scan/ScanContext.h"
#include "scan/checks/CheckSupport.h"

namespace vantrel {

extern const RegistryList kUserSoftwareList = {RootKey::CurrentUser, "Software", ListKey::Container,
                                               ListWalk::Shared};
extern const RegistryList kMachineSoftwareList = {RootKey::LocalMachine, "Software",
                                                  ListKey::Container, ListWalk::Shared};

namespace {

// A key the count cannot open, at any depth, counts as not empty: what the scan cannot read is
// not known to be empty and must not be offered for deletion.
bool IsEmptySoftwareKey(RegistrySource& registry, RootKey root, std::string_view productPath) {
    return CountKeyEntries(registry, root, productPath, 1, true, true) < 1;
}

bool SoftwareKeyStillEmpty(ScanContext& context, const RowTarget& product, const RowEvidence&) {
    return IsEmptySoftwareKey(context.Registry(), product.root, product.keyPath);
}

void CheckObsoleteSoftwareKeys(ScanContext& context, const RegistryList& software) {
    const RootKey root = software.root;
    const std::string_view keyPath = software.path;
    const auto softwareKey = context.OpenRegistryKey(root, keyPath);
    if (!softwareKey)
        return;
    const std::vector<std::string> productNames = softwareKey->GetKeyNames();
    const std::string keyText = KeyText(RootKeyName(root), keyPath);
    for (const std::string& productName : productNames) {
        context.ThrowIfStopped();
        const std::string productPath = JoinKeyPath(keyPath, productName);
        context.ShowProgressKey(productPath);
        if (!IsEmptySoftwareKey(context.Registry(), root, productPath))
            continue;
        context.AddScanIssue(keyText, productName, RepairKind::DeleteSubkey,
                             "the key holds no values and no subkeys", RowRisk::Safe,
                             JudgedBy(&SoftwareKeyStillEmpty));
    }
}
}  // namespace

void CheckObsoleteSoftware(ScanContext& context) {
    CheckObsoleteSoftwareKeys(context, kUserSoftwareList);
    CheckObsoleteSoftwareKeys(context, kMachineSoftwareList);
}

}  // namespace vantrel
