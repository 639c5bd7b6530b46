// Add/Remove Programs: uninstall entries that hold no information at all.
#include "platform/PathText.h"
#include "scan/CheckTable.h"
#include "scan/PathTests.h"
#include "scan/RegistryViews.h"
#include "scan/RowReasons.h"
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
        // Empty: no value (or a sole empty default string), and no subkey or one empty one. An
        // entry the scan cannot read counts as not empty.
        const int entries =
            CountKeyEntries(context.Registry(), kUninstallList.root, entryPath, 1, true, false);
        if (entries >= 1)
            continue;
        context.AddScanIssue(keyText, entryName, RepairKind::DeleteSubkey,
                             "the uninstall entry holds no information");
    }
}
}  // namespace

void CheckAddRemovePrograms(ScanContext& context) {
    for (const std::string& path : MachineKeyInBothViews(context.Registry(), kUninstallList.path))
        ExamineUninstallKey(context, path);
}

}  // namespace vantrel
