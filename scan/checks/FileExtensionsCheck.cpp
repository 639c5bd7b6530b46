// File Extensions: machine class keys that hold nothing, and per-user extension settings whose
// extension is no longer registered.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/PathText.h"
#include "platform/TextCase.h"
#include "scan/CheckTable.h"
#include "scan/RowReasons.h"
#include "scan/RowTarget.h"
#include "scan/ScanContext.h"
#include "scan/checks/CheckSupport.h"

namespace vantrel {

extern const RegistryList kAppPathsList;

extern const RegistryList kMachineClassesList = {RootKey::LocalMachine, "Software\\Classes",
                                                 ListKey::Container, ListWalk::Shared};
extern const RegistryList kUserFileExtsList = {
    RootKey::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts",
    ListKey::Container, ListWalk::Shared};

namespace {
const std::string_view kClassesKey = kMachineClassesList.path;
const std::string_view kFileExtsKey = kUserFileExtsList.path;
constexpr std::string_view kUserChoice = "UserChoice";
constexpr std::string_view kOpenWithProgids = "OpenWithProgids";
constexpr std::string_view kOpenWithList = "OpenWithList";
constexpr std::string_view kMruList = "MRUList";
constexpr std::string_view kApplications = "Applications";

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

bool ClassStillHoldsNothing(ScanContext& context, const RowTarget& classEntry, const RowEvidence&) {
    const auto classKey = context.OpenRegistryKey(classEntry.root, classEntry.keyPath);
    return classKey && HoldsOnlyAnEmptyDefaultString(*classKey);
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
            context.AddScanIssue(keyText, className, RepairKind::DeleteSubkey,
                                 "the class holds only an empty default value", RowRisk::Safe,
                                 JudgedBy(&ClassStillHoldsNothing));
    }
}

// A name read back with '?' in place of characters the ANSI code page lacks may not be the
// key's real name, so its absence under the classes root proves nothing.
bool MayBeLossyName(const std::string& name, bool namesExact) {
    return !namesExact && name.find('?') != std::string::npos;
}

// The text of a registration's default value that names its program: nullopt when the key is
// not there, "" when it names nothing readable.
std::optional<std::string> ProgramText(RegistryAccess& access, const std::string& keyPath) {
    if (!access.OpenKey(keyPath))
        return std::nullopt;
    OpenKeyScope scope(access);
    if (!IsStringValueType(access.GetDataType("")))
        return std::string();
    return access.ReadString("");
}

// A program named by its file name resolves when Windows finds it through a registration under
// Applications or an application path whose program is not known to be gone.
bool ProgramResolves(ScanContext& context, RegistryAccess& classesRoot, RegistryAccess& appPaths,
                     const std::string& program) {
    if (program.empty() || program.find('\\') != std::string::npos)
        return false;
    const std::string registrations[] = {
        JoinKeySegments({kApplications, program, "shell\\open\\command"}),
        JoinKeyPath(kAppPathsList.path, program)};
    RegistryAccess* accesses[] = {&classesRoot, &appPaths};
    for (size_t i = 0; i < 2; ++i) {
        context.ThrowIfStopped();
        const std::optional<std::string> text = ProgramText(*accesses[i], registrations[i]);
        if (text && !context.Paths().IsMissingFilePath(*text, {}, false))
            return true;
    }
    return false;
}

// The user's own choice for the type: the default program (UserChoice), or an "Open with"
// entry whose program or class still resolves. Deleting the key would undo that choice.
// Whether some value name of the subkey of `key` passes `resolves` (the key is open on the
// subkey while it asks).
bool SomeValueNameOf(ScanContext& context, RegistryAccess& key, const std::string& subkey,
                     const std::function<bool(const std::string& name)>& resolves) {
    context.ThrowIfStopped();
    if (!key.OpenKey(subkey))
        return false;
    OpenKeyScope scope(key);
    for (const std::string& name : key.GetValueNames()) {
        context.ThrowIfStopped();
        if (!name.empty() && resolves(name))
            return true;
    }
    return false;
}

bool HoldsAUserChoice(ScanContext& context, RegistryAccess& classesRoot, RegistryAccess& appPaths,
                      std::string_view extensionPath) {
    const auto key = context.NewRegistryAccess(kUserFileExtsList.root);
    if (key->KeyExists(JoinKeyPath(extensionPath, kUserChoice)))
        return true;
    const auto registered = [&](const std::string& progId) {
        return classesRoot.KeyExists(progId);
    };
    if (SomeValueNameOf(context, *key, JoinKeyPath(extensionPath, kOpenWithProgids), registered))
        return true;
    const auto programResolves = [&](const std::string& name) {
        return !EqualsIgnoreCase(name, kMruList) && IsStringValueType(key->GetDataType(name)) &&
               ProgramResolves(context, classesRoot, appPaths, key->ReadString(name));
    };
    return SomeValueNameOf(context, *key, JoinKeyPath(extensionPath, kOpenWithList),
                           programResolves);
}

// The extension's settings at extensionPath (below FileExts) outlive its registration.
bool IsUnregisteredExtension(ScanContext& context, RegistryAccess& classesRoot,
                             RegistryAccess& appPaths, std::string_view extensionPath) {
    const std::string_view extension = extensionPath.substr(extensionPath.rfind('\\') + 1);
    return !classesRoot.KeyExists(extension) &&
           !HoldsAUserChoice(context, classesRoot, appPaths, extensionPath);
}

bool ExtensionStillUnregistered(ScanContext& context, const RowTarget& extensionEntry,
                                const RowEvidence&) {
    const auto classesRoot = context.NewRegistryAccess(RootKey::ClassesRoot);
    const auto appPaths = context.NewRegistryAccess(kAppPathsList.root);
    return IsUnregisteredExtension(context, *classesRoot, *appPaths, extensionEntry.keyPath);
}

void ReportUnregisteredExtensions(ScanContext& context) {
    const auto fileExts = context.OpenRegistryKey(kUserFileExtsList.root, kFileExtsKey);
    if (!fileExts)
        return;
    const std::vector<std::string> extensions = fileExts->GetKeyNames();
    const bool namesExact = fileExts->LastNamesExact();
    // One accessor with no key open: each name is looked up directly below the root.
    const auto classesRoot = context.NewRegistryAccess(RootKey::ClassesRoot);
    const auto appPaths = context.NewRegistryAccess(kAppPathsList.root);
    const std::string keyText = KeyText(RootKeyName(kUserFileExtsList.root), kFileExtsKey);
    for (const std::string& extension : extensions) {
        context.ThrowIfStopped();
        context.ShowProgressKey(JoinKeyPath(kFileExtsKey, extension));
        if (MayBeLossyName(extension, namesExact) ||
            !IsUnregisteredExtension(context, *classesRoot, *appPaths,
                                     JoinKeyPath(kFileExtsKey, extension)))
            continue;
        context.AddScanIssue(
            keyText, extension, RepairKind::DeleteSubkey,
            "the extension " + extension + " is not registered and names no program that is there",
            RowRisk::Safe, JudgedBy(&ExtensionStillUnregistered));
    }
}

}  // namespace

void CheckFileExtensions(ScanContext& context) {
    ReportEmptyClassKeys(context);
    ReportUnregisteredExtensions(context);
}

}  // namespace vantrel
