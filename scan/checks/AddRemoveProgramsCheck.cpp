// Add/Remove Programs: uninstall entries that hold no information at all.
#include "platform/PathText.h"
#include "scan/PathTests.h"
#include "scan/RegistryViews.h"
#include "scan/ScanContext.h"

namespace vantrel {

namespace {
constexpr std::string_view kUninstallKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

// Entries named by an installer product code belong to the installer and are left alone.
bool IsProductCodeEntry(std::string_view name) {
    return !name.empty() && name.front() == '{';
}

void ExamineUninstallKey(ScanContext& context, std::string_view uninstallKey) {
    const std::string keyText = KeyText("HKEY_LOCAL_MACHINE", uninstallKey);
    const auto key = context.OpenRegistryKey(RootKey::LocalMachine, uninstallKey);
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
            CountKeyEntries(context.Registry(), RootKey::LocalMachine, entryPath, 1, true, false);
        if (entries >= 1)
            continue;
        context.AddScanIssue(keyText, entryName, RepairKind::DeleteSubkey);
    }
}
}  // namespace

void CheckAddRemovePrograms(ScanContext& context) {
    for (const std::string& path : MachineKeyInBothViews(context.Registry(), kUninstallKey))
        ExamineUninstallKey(context, path);
}

}  // namespace vantrel
