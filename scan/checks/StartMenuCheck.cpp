// Start Menu: ordering keys of program groups that are gone from both Programs folders.
#include <string>
#include <string_view>
#include <vector>

#include "platform/PathText.h"
#include "scan/CheckTable.h"
#include "scan/RowReasons.h"
#include "scan/RowTarget.h"
#include "scan/ScanContext.h"
#include "scan/checks/CheckSupport.h"
#include "scan/checks/NameLists.h"

namespace vantrel {

// Each shell generation keeps its start menu order under a key of its own.
extern const RegistryList kMenuOrderXpList = {
    RootKey::CurrentUser,
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Start Menu2\\Programs",
    ListKey::Container, ListWalk::Shared};
extern const RegistryList kMenuOrder2000List = {
    RootKey::CurrentUser,
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Start Menu\\Programs",
    ListKey::Container, ListWalk::Shared};
extern const RegistryList kMenuOrderClassicList = {
    RootKey::CurrentUser,
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Start Menu\\&Programs",
    ListKey::Container, ListWalk::Shared};

namespace {

const RegistryList& MenuOrderListFor(WindowsVersion version) {
    switch (version) {
        case WindowsVersion::WindowsXp:
        case WindowsVersion::Nt52OrLater:
            return kMenuOrderXpList;
        case WindowsVersion::Windows2000:
        case WindowsVersion::WindowsMe:
            return kMenuOrder2000List;
        default:
            return kMenuOrderClassicList;
    }
}

bool IsDotEntry(const std::string& name) {
    return name == "." || name == "..";
}

// Names of the program groups directly inside one Programs folder.
void AddProgramGroupNames(ScanContext& context, int programsFolder,
                          std::vector<std::string>& names) {
    const std::string folder = context.Files().SpecialFolderPath(programsFolder);
    if (folder.empty())
        return;
    for (const FolderEntry& entry : context.Files().ListFolder(WithTrailingBackslash(folder))) {
        context.ThrowIfStopped();
        if (entry.IsDirectory() && !IsDotEntry(entry.name))
            names.push_back(entry.name);
    }
}

// The user's groups, then all users' groups; a name found in both is listed twice.
std::vector<std::string> ProgramsFolderNames(ScanContext& context) {
    std::vector<std::string> names;
    AddProgramGroupNames(context, specialfolder::kPrograms, names);
    AddProgramGroupNames(context, specialfolder::kCommonPrograms, names);
    return names;
}

// A name read back with '?' in place of characters the ANSI code page lacks may not be the
// key's real name: it is not compared at all.
bool MayBeLossyName(const std::string& name, bool namesExact) {
    return !namesExact && name.find('?') != std::string::npos;
}

// The listings give short names in place of names the code page lacks and are compared folding
// only a to z; before a group is called gone, the system looks for it by its own rules.
bool ProgramGroupExists(ScanContext& context, const std::string& name) {
    for (int programsFolder : {specialfolder::kPrograms, specialfolder::kCommonPrograms}) {
        const std::string folder = context.Files().SpecialFolderPath(programsFolder);
        if (!folder.empty() && context.Files().DirectoryExists(JoinFilePath(folder, name)))
            return true;
    }
    return false;
}

// The ordering key's name is its group's.
bool ProgramGroupStillGone(ScanContext& context, const RowTarget& orderEntry, const RowEvidence&) {
    const std::string_view path = orderEntry.keyPath;
    return !ProgramGroupExists(context, std::string(path.substr(path.rfind('\\') + 1)));
}

}  // namespace

void CheckStartMenu(ScanContext& context) {
    const std::vector<std::string> groupNames = ProgramsFolderNames(context);
    const RegistryList& orderList = MenuOrderListFor(context.Version());
    const std::string_view orderKey = orderList.path;
    const std::string keyText = KeyText(RootKeyName(orderList.root), orderKey);
    const auto key = context.OpenRegistryKey(orderList.root, orderKey);
    if (!key)
        return;
    OpenKeyScope keyScope(*key);
    // Only the top level is compared: deeper ordering keys belong to their group's key.
    const std::vector<std::string> orderNames = key->GetKeyNames();
    const bool namesExact = key->LastNamesExact();
    for (const std::string& orderName : orderNames) {
        context.ThrowIfStopped();
        context.ShowProgressKey(JoinKeyPath(orderKey, orderName));
        if (MayBeLossyName(orderName, namesExact) ||
            ContainsNameIgnoreCase(groupNames, orderName) ||
            ProgramGroupExists(context, orderName)) {
            continue;
        }
        context.AddScanIssue(keyText, orderName, RepairKind::DeleteSubkey,
                             "no program group named " + orderName + " exists", RowRisk::Safe,
                             JudgedBy(&ProgramGroupStillGone));
    }
}

}  // namespace vantrel
