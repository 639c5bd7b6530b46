// Add/Remove Programs: uninstall entries that hold no information at all.
#include "platform/PathText.h"
#include "scan/CheckTable.h"
#include "scan/PathTests.h"
#include "scan/RegistryViews.h"
#include "scan/RowReasons.h"
#include "scan/RowTarget.h"
#include "scan/ScanContext.h"

namespace vantrel {

extern const RegistryList kUninstallList = {
    RootKey::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
    ListKey::Container, ListWalk::Alone};

namespace {

// Entries named by an installer product code belong to the installer and are left alone.
bool IsProductCodeEntry(std::string_view name) {
    return !name.empty() && name.front() == '{';
}

// Empty: no value (or a sole empty default string), and no subkey or one empty one. An entry
// the scan cannot read counts as not empty.
bool IsEmptyUninstallEntry(RegistrySource& registry, RootKey root, std::string_view entryPath) {
    return CountKeyEntries(registry, root, entryPath, 1, true, false) < 1;
}

bool UninstallEntryStillEmpty(ScanContext& context, const RowTarget& entry, const RowEvidence&) {
    return IsEmptyUninstallEntry(context.Registry(), entry.root, entry.keyPath);
}

void ExamineUninstallKey(ScanContext& context, std::string_view uninstallKey) {
    const std::string keyText = KeyText(RootKeyName(kUninstallList.root), uninstallKey);
    const auto key = context.OpenRegistryKey(kUninstallList.root, uninstallKey);
    if (!key)
        return;
    const std::vector<std::string> entryNames = key->GetKeyNames();
    for (const std::string& entryName : entryNames) {
        context.ThrowIfStopped();
        if (IsProductCodeEntry(entryName))
            continue;
        const std::string entryPath = JoinKeyPath(uninstallKey, entryName);
        context.ShowProgressKey(entryPath);
        if (!IsEmptyUninstallEntry(context.Registry(), kUninstallList.root, entryPath))
            continue;
        context.AddScanIssue(keyText, entryName, RepairKind::DeleteSubkey,
                             "the uninstall entry holds no information", RowRisk::Safe,
                             JudgedBy(&UninstallEntryStillEmpty));
    }
}
}  // namespace

void CheckAddRemovePrograms(ScanContext& context) {
    for (const std::string& path : MachineKeyInBothViews(context.Registry(), kUninstallList.path))
        ExamineUninstallKey(context, path);
}

}  // namespace vantrel
