// Installer: uninstall entries, installer folders and Add/Remove cache entries that are stale.
#include <string>
#include <string_view>
#include <vector>

#include "platform/PathText.h"
#include "scan/CheckTable.h"
#include "scan/RegistryViews.h"
#include "scan/RowReasons.h"
#include "scan/ScanContext.h"
#include "scan/checks/CheckSupport.h"
#include "scan/checks/MissingFileValueWalker.h"
#include "scan/checks/NameLists.h"

namespace vantrel {

// Spelled in capitals, as this check's rows have always named them.
extern const RegistryList kInstallerUninstallList = {
    RootKey::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
    ListKey::Container, ListWalk::Alone};
extern const RegistryList kInstallerFoldersList = {
    RootKey::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\Folders",
    ListKey::Container, ListWalk::Alone};
extern const RegistryList kArpCacheList = {
    RootKey::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Management\\ARPCache",
    ListKey::Container, ListWalk::Alone};

namespace {

constexpr RootKey kMachine = RootKey::LocalMachine;

// Uninstall commands and icons: only text naming a program (".exe") is judged.
void ExamineUninstallEntries(ScanContext& context, const std::vector<std::string>& uninstallKeys) {
    for (const std::string& uninstallKey : uninstallKeys)
        WalkMissingFileValues(context, kMachine, uninstallKey, ".exe");
}

// The installer's known folders are the value names themselves; their data is not looked at.
void ExamineInstallerFolders(ScanContext& context, std::string_view foldersKey) {
    const auto key = context.OpenRegistryKey(kMachine, foldersKey);
    if (!key)
        return;
    OpenKeyScope keyScope(*key);
    context.ShowProgressKey(foldersKey);
    const std::string keyText = KeyText(RootKeyName(kMachine), foldersKey);
    const std::vector<std::string> folderNames = key->GetValueNames();
    for (const std::string& folderName : folderNames) {
        context.ThrowIfStopped();
        if (context.IsMissingFilePath(foldersKey, folderName, {}, true))
            context.AddScanIssue(keyText, folderName, RepairKind::DeleteNamedValue,
                                 DoesNotExistReason(folderName));
    }
}

std::vector<std::string> SubkeyNames(RegistryAccess& key, std::string_view path) {
    if (!key.OpenKey(path))
        return {};
    OpenKeyScope keyScope(key);
    return key.GetKeyNames();
}

// The uninstall entries of both views: a program keeps its cache entry in either view whichever
// view its uninstall entry is in.
std::vector<std::string> UninstallNames(ScanContext& context,
                                        const std::vector<std::string>& uninstallKeys) {
    const auto key = context.NewRegistryAccess(kMachine);
    std::vector<std::string> names;
    for (const std::string& uninstallKey : uninstallKeys) {
        const std::vector<std::string> more = SubkeyNames(*key, uninstallKey);
        names.insert(names.end(), more.begin(), more.end());
    }
    return names;
}

// Cache entries of programs that have no uninstall entry any more.
void ExamineArpCache(ScanContext& context, std::string_view cacheKey,
                     const std::vector<std::string>& uninstallNames) {
    const auto key = context.NewRegistryAccess(kMachine);
    if (!key->OpenKey(cacheKey))
        return;
    OpenKeyScope keyScope(*key);
    context.ShowProgressKey(cacheKey);
    const std::string keyText = KeyText(RootKeyName(kMachine), cacheKey);
    const std::vector<std::string> cacheNames = key->GetKeyNames();
    for (const std::string& cacheName : cacheNames) {
        context.ThrowIfStopped();
        if (!ContainsNameIgnoreCase(uninstallNames, cacheName))
            context.AddScanIssue(keyText, cacheName, RepairKind::DeleteSubkey,
                                 "no uninstall entry is named " + cacheName);
    }
}

}  // namespace

void CheckInstaller(ScanContext& context) {
    RegistrySource& registry = context.Registry();
    const std::vector<std::string> uninstallKeys =
        MachineKeyInBothViews(registry, kInstallerUninstallList.path);
    ExamineUninstallEntries(context, uninstallKeys);
    for (const std::string& foldersKey :
         MachineKeyInBothViews(registry, kInstallerFoldersList.path))
        ExamineInstallerFolders(context, foldersKey);
    const std::vector<std::string> uninstallNames = UninstallNames(context, uninstallKeys);
    for (const std::string& cacheKey : MachineKeyInBothViews(registry, kArpCacheList.path))
        ExamineArpCache(context, cacheKey, uninstallNames);
}

}  // namespace vantrel
