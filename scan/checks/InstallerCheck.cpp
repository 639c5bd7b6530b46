// Installer: uninstall entries, installer folders and Add/Remove cache entries that are stale.
#include <string>
#include <string_view>
#include <vector>

#include "platform/PathText.h"
#include "scan/CheckTable.h"
#include "scan/PathTests.h"
#include "scan/RegistryViews.h"
#include "scan/RowReasons.h"
#include "scan/RowTarget.h"
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

bool IsMissingInstallerFolder(const ScanContext& context, std::string_view foldersKey,
                              std::string_view folderName) {
    return context.IsMissingFilePath(foldersKey, folderName, {}, true);
}

bool InstallerFolderStillMissing(ScanContext& context, const RowTarget& folder,
                                 const RowEvidence&) {
    return IsMissingInstallerFolder(context, folder.keyPath, folder.valueName);
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
        if (IsMissingInstallerFolder(context, foldersKey, folderName))
            context.AddScanIssue(keyText, folderName, RepairKind::DeleteNamedValue,
                                 DoesNotExistReason(folderName), RowRisk::Safe,
                                 JudgedBy(&InstallerFolderStillMissing));
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

// Judged by the one name in each view, not by listing every uninstall entry again.
bool CacheEntryStillOrphaned(ScanContext& context, const RowTarget& cacheEntry,
                             const RowEvidence&) {
    const std::string_view path = cacheEntry.keyPath;
    const std::string_view cacheName = path.substr(path.rfind('\\') + 1);
    for (const std::string& uninstallKey :
         MachineKeyInBothViews(context.Registry(), kInstallerUninstallList.path)) {
        if (RegKeyExists(context.Registry(), kMachine, JoinKeyPath(uninstallKey, cacheName)))
            return false;
    }
    return true;
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
                                 "no uninstall entry is named " + cacheName, RowRisk::Safe,
                                 JudgedBy(&CacheEntryStillOrphaned));
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
