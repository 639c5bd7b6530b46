// Installer: uninstall entries, installer folders and Add/Remove cache entries that are stale.
#include <string>
#include <string_view>
#include <vector>

#include "platform/PathText.h"
#include "scan/ScanContext.h"
#include "scan/checks/CheckSupport.h"
#include "scan/checks/MissingFileValueWalker.h"
#include "scan/checks/NameLists.h"

namespace vantrel {

namespace {

constexpr std::string_view kUninstallKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr std::string_view kInstallerFoldersKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\Folders";
constexpr std::string_view kArpCacheKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Management\\ARPCache";

// Uninstall commands and icons: only text naming a program (".exe") is judged.
void ExamineUninstallEntries(ScanContext& context) {
    WalkMissingFileValues(context, "HKEY_LOCAL_MACHINE", kUninstallKey, ".exe");
}

// The installer's known folders are the value names themselves; their data is not looked at.
void ExamineInstallerFolders(ScanContext& context) {
    const auto key = context.OpenRegistryKey(RootKey::LocalMachine, kInstallerFoldersKey);
    if (!key)
        return;
    OpenKeyScope keyScope(*key);
    context.ShowProgressKey(kInstallerFoldersKey);
    const std::string keyText = KeyText("HKEY_LOCAL_MACHINE", kInstallerFoldersKey);
    const std::vector<std::string> folderNames = key->GetValueNames();
    for (const std::string& folderName : folderNames) {
        context.ThrowIfStopped();
        if (context.Paths().IsMissingFilePath(folderName, {}, true))
            context.AddScanIssue(keyText, folderName, RepairKind::DeleteNamedValue);
    }
}

std::vector<std::string> SubkeyNames(RegistryAccess& key, std::string_view path) {
    if (!key.OpenKey(path))
        return {};
    OpenKeyScope keyScope(key);
    return key.GetKeyNames();
}

// Cache entries of programs that have no uninstall entry any more.
void ExamineArpCache(ScanContext& context) {
    const auto key = context.NewRegistryAccess(RootKey::LocalMachine);
    const std::vector<std::string> uninstallNames = SubkeyNames(*key, kUninstallKey);
    if (!key->OpenKey(kArpCacheKey))
        return;
    OpenKeyScope keyScope(*key);
    context.ShowProgressKey(kArpCacheKey);
    const std::string keyText = KeyText("HKEY_LOCAL_MACHINE", kArpCacheKey);
    const std::vector<std::string> cacheNames = key->GetKeyNames();
    for (const std::string& cacheName : cacheNames) {
        context.ThrowIfStopped();
        if (!ContainsNameIgnoreCase(uninstallNames, cacheName))
            context.AddScanIssue(keyText, cacheName, RepairKind::DeleteSubkey);
    }
}

}  // namespace

void CheckInstaller(ScanContext& context) {
    ExamineUninstallEntries(context);
    ExamineInstallerFolders(context);
    ExamineArpCache(context);
}

}  // namespace vantrel
