// Help File Paths: help-file entries whose file is not in the folder they name.
#include <array>
#include <string>

#include "platform/PathText.h"
#include "scan/CheckTable.h"
#include "scan/RegistryViews.h"
#include "scan/RowReasons.h"
#include "scan/ScanContext.h"
#include "scan/checks/CheckSupport.h"

namespace vantrel {

extern const RegistryList kHelpList = {RootKey::LocalMachine, "Software\\Microsoft\\Windows\\Help",
                                       ListKey::Container, ListWalk::Alone};
extern const RegistryList kHtmlHelpList = {RootKey::LocalMachine,
                                           "Software\\Microsoft\\Windows\\Html Help",
                                           ListKey::Container, ListWalk::Alone};

namespace {

void ExamineHelpKey(ScanContext& context, RegistryAccess& key, std::string_view keyPath) {
    key.CloseKey();
    if (!key.OpenKey(keyPath))
        return;
    context.ShowProgressKey(keyPath);
    // Only text names a folder: data of another type (a number, bytes, nothing at all) and a
    // value whose name was read inexactly are passed over, not judged as an empty folder.
    ForEachStringValue(context, key, [&](const std::string& helpName, const std::string& folder) {
        // An empty folder leaves the bare name, which only the current folder would answer for:
        // like a folder off the fixed disks, it is not judged.
        const std::string helpFile = JoinFilePath(folder, helpName);
        if (!context.Paths().IsOnFixedDrive(helpFile) || context.FileExistsFor(keyPath, helpFile))
            return;
        context.AddScanIssue(ValueKeyText(RootKeyName(RootKey::LocalMachine), keyPath, helpName),
                             helpFile, RepairKind::DeleteValueInKey, DoesNotExistReason(helpFile));
    });
}

}  // namespace

void CheckHelpFilePaths(ScanContext& context) {
    const auto key = context.NewRegistryAccess(RootKey::LocalMachine);
    for (const RegistryList* helpList : {&kHelpList, &kHtmlHelpList}) {
        for (const std::string& keyPath : MachineKeyInBothViews(context.Registry(), helpList->path))
            ExamineHelpKey(context, *key, keyPath);
    }
}

}  // namespace vantrel
