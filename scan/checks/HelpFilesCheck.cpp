// Help File Paths: help-file entries whose file is not in the folder they name.
#include <array>
#include <optional>
#include <string>

#include "platform/PathText.h"
#include "scan/CheckTable.h"
#include "scan/RegistryViews.h"
#include "scan/RowReasons.h"
#include "scan/ScanContext.h"
#include "scan/checks/CheckSupport.h"
#include "scan/checks/EntryRules.h"

namespace vantrel {

extern const RegistryList kHelpList = {RootKey::LocalMachine, "Software\\Microsoft\\Windows\\Help",
                                       ListKey::Container, ListWalk::Alone};
extern const RegistryList kHtmlHelpList = {RootKey::LocalMachine,
                                           "Software\\Microsoft\\Windows\\Html Help",
                                           ListKey::Container, ListWalk::Alone};

namespace {

// An empty folder leaves the bare name, which only the current folder would answer for: like a
// folder off the fixed disks, it is not judged.
bool IsMissingHelpFile(const ScanContext& context, std::string_view keyPath,
                       const std::string& helpFile) {
    return context.Paths().IsOnFixedDrive(helpFile) && !context.FileExistsFor(keyPath, helpFile);
}

// A value's data is the folder, its name the help file.
bool HelpFileStillMissing(ScanContext& context, const RowTarget& entry, const RowEvidence&) {
    const std::optional<std::string> folder = ReadEntryText(context, entry);
    return folder &&
           IsMissingHelpFile(context, entry.keyPath, JoinFilePath(*folder, entry.valueName));
}

void ExamineHelpKey(ScanContext& context, RegistryAccess& key, std::string_view keyPath) {
    key.CloseKey();
    if (!key.OpenKey(keyPath))
        return;
    context.ShowProgressKey(keyPath);
    // Only text names a folder: data of another type (a number, bytes, nothing at all) and a
    // value whose name was read inexactly are passed over, not judged as an empty folder.
    ForEachStringValue(context, key, [&](const std::string& helpName, const std::string& folder) {
        const std::string helpFile = JoinFilePath(folder, helpName);
        if (!IsMissingHelpFile(context, keyPath, helpFile))
            return;
        context.AddScanIssue(ValueKeyText(RootKeyName(RootKey::LocalMachine), keyPath, helpName),
                             helpFile, RepairKind::DeleteValueInKey, DoesNotExistReason(helpFile),
                             RowRisk::Safe, JudgedBy(&HelpFileStillMissing));
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
