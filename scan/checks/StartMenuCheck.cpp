// Start Menu: ordering keys of program groups that are gone from both Programs folders.
#include <string>
#include <string_view>
#include <vector>

#include "scan/Checks.h"
#include "scan/checks/CheckSupport.h"
#include "scan/checks/NameLists.h"

namespace vantrel {

namespace {

constexpr CheckId kStartMenuId = 16;
constexpr std::string_view kMenuOrderKeyXp =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Start Menu2\\Programs";
constexpr std::string_view kMenuOrderKey2000 =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Start Menu\\Programs";
constexpr std::string_view kMenuOrderKeyClassic =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Start Menu\\&Programs";

// Each shell generation keeps its start menu order under a key of its own.
std::string_view MenuOrderKeyFor(int windowsVersionCode) {
    switch (windowsVersionCode) {
        case 9:
        case 10:
            return kMenuOrderKeyXp;
        case 7:
        case 8:
            return kMenuOrderKey2000;
        default:
            return kMenuOrderKeyClassic;
    }
}

bool IsDotEntry(const std::string& name) {
    return name == "." || name == "..";
}

// Names of the program groups directly inside one Programs folder.
void AddProgramGroupNames(ScanContext& context, int programsFolder,
                          std::vector<std::string>& names) {
    std::string folder = context.Files().SpecialFolderPath(programsFolder);
    if (folder.empty())
        return;
    if (folder.back() != '\\')
        folder += '\\';
    for (const FolderEntry& entry : context.Files().ListFolder(folder)) {
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

}  // namespace

void CheckStartMenu(ScanContext& context) {
    context.SetCaptionLabel(ProgressCaption(kStartMenuId));
    const std::string problem = ProblemCaption(kStartMenuId);
    const std::vector<std::string> groupNames = ProgramsFolderNames(context);
    const std::string_view orderKey = MenuOrderKeyFor(context.WindowsVersion());
    const std::string keyText = "HKEY_CURRENT_USER\\" + std::string(orderKey);

    auto key = context.NewRegistryAccess();
    key->SetRootKey(RootKey::CurrentUser);
    if (!key->OpenKey(orderKey))
        return;
    OpenKeyScope keyScope(*key);
    // Only the top level is compared: deeper ordering keys belong to their group's key.
    const std::vector<std::string> orderNames = key->GetKeyNames();
    for (const std::string& orderName : orderNames) {
        context.ThrowIfStopped();
        context.ShowProgressKey(std::string(orderKey) + '\\' + orderName);
        if (ContainsNameIgnoreCase(groupNames, orderName))
            continue;
        context.AddScanIssue(problem, keyText, orderName, RepairKind::DeleteSubkey);
    }
}

}  // namespace vantrel
