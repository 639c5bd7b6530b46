// File Extensions: machine class keys that hold nothing, and per-user extension settings whose
// extension is no longer registered.
#include <memory>
#include <string>
#include <vector>

#include "platform/PathText.h"
#include "scan/CheckTable.h"
#include "scan/ScanContext.h"
#include "scan/checks/CheckSupport.h"

namespace vantrel {

extern const RegistryList kMachineClassesList = {RootKey::LocalMachine, "Software\\Classes",
                                                 ListKey::Container, ListWalk::Shared};
extern const RegistryList kUserFileExtsList = {
    RootKey::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts",
    ListKey::Container, ListWalk::Shared};

namespace {
const std::string_view kClassesKey = kMachineClassesList.path;
const std::string_view kFileExtsKey = kUserFileExtsList.path;

// No subkey and one value only, the default, an empty string. A key without any value has no
// typed default value and is not taken for empty. Cheapest tests first: most classes fail early.
bool HoldsOnlyAnEmptyDefaultString(RegistryAccess& classKey) {
    const std::vector<std::string> valueNames = classKey.GetValueNames();
    if (valueNames.size() != 1 || !valueNames.front().empty())
        return false;
    if (!IsStringValueType(classKey.GetDataType("")))
        return false;
    if (!classKey.GetKeyNames().empty())
        return false;
    return classKey.ReadString("").empty();
}

void ReportEmptyClassKeys(ScanContext& context) {
    const auto classKey = context.OpenRegistryKey(kMachineClassesList.root, kClassesKey);
    if (!classKey)
        return;
    const std::vector<std::string> classNames = classKey->GetKeyNames();
    classKey->CloseKey();
    const std::string keyText = KeyText(RootKeyName(kMachineClassesList.root), kClassesKey);
    for (const std::string& className : classNames) {
        context.ThrowIfStopped();
        const std::string classPath = JoinKeyPath(kClassesKey, className);
        context.ShowProgressKey(classPath);
        // With no key open the path is taken from the root, so every class opens the same way.
        if (!classKey->OpenKey(classPath))
            continue;
        OpenKeyScope classScope(*classKey);
        if (HoldsOnlyAnEmptyDefaultString(*classKey))
            context.AddScanIssue(keyText, className, RepairKind::DeleteSubkey);
    }
}

// A name read back with '?' in place of characters the ANSI code page lacks may not be the
// key's real name, so its absence under the classes root proves nothing.
bool MayBeLossyName(const std::string& name, bool namesExact) {
    return !namesExact && name.find('?') != std::string::npos;
}

void ReportUnregisteredExtensions(ScanContext& context) {
    const auto fileExts = context.OpenRegistryKey(kUserFileExtsList.root, kFileExtsKey);
    if (!fileExts)
        return;
    const std::vector<std::string> extensions = fileExts->GetKeyNames();
    const bool namesExact = fileExts->LastNamesExact();
    // One accessor with no key open: each name is looked up directly below the root.
    const auto classesRoot = context.NewRegistryAccess(RootKey::ClassesRoot);
    const std::string keyText = KeyText(RootKeyName(kUserFileExtsList.root), kFileExtsKey);
    for (const std::string& extension : extensions) {
        context.ThrowIfStopped();
        context.ShowProgressKey(JoinKeyPath(kFileExtsKey, extension));
        if (MayBeLossyName(extension, namesExact) || classesRoot->KeyExists(extension))
            continue;
        context.AddScanIssue(keyText, extension, RepairKind::DeleteSubkey);
    }
}

}  // namespace

void CheckFileExtensions(ScanContext& context) {
    ReportEmptyClassKeys(context);
    ReportUnregisteredExtensions(context);
}

}  // namespace vantrel
