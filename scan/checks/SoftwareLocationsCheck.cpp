// Software Locations: application path entries whose program file is gone.
#include "platform/PathText.h"
#include "platform/TextCase.h"
#include "scan/CheckTable.h"
#include "scan/RegistryViews.h"
#include "scan/RowReasons.h"
#include "scan/ScanContext.h"
#include "scan/checks/CheckSupport.h"
#include "scan/checks/EntryRules.h"

namespace vantrel {

extern const RegistryList kAppPathsList = {
    RootKey::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths",
    ListKey::Container, ListWalk::Alone};

namespace {

// Entries named after something other than a program (foo.dll) are not judged; a name without
// any dot is.
bool IsExaminedEntryName(std::string_view name) {
    if (name.find('.') == std::string_view::npos)
        return true;
    return EndsWithIgnoreCase(name, ".EXE");
}

void ExamineEntry(ScanContext& context, RegistryAccess& key, std::string_view appPathsKey,
                  const std::string& entryName) {
    const std::string entryPath = JoinKeyPath(appPathsKey, entryName);
    key.CloseKey();
    if (!key.OpenKey(entryPath))
        return;
    context.ShowProgressKey(entryPath);
    if (!IsStringValueType(key.GetDataType("")))
        return;
    const std::string programPath = key.ReadString("");
    if (programPath.empty())
        return;
    if (!context.IsMissingFilePath(entryPath, programPath, entryName, true))
        return;
    context.AddScanIssue(ValueKeyText(RootKeyName(kAppPathsList.root), appPathsKey, entryName),
                         programPath, RepairKind::DeleteKey, NamesMissingProgramReason(programPath),
                         RowRisk::Safe, MissingPathEvidence(entryName, true));
}

void ExamineAppPaths(ScanContext& context, std::string_view appPathsKey) {
    const auto key = context.OpenRegistryKey(kAppPathsList.root, appPathsKey);
    if (!key)
        return;
    const std::vector<std::string> entryNames = key->GetKeyNames();
    for (const std::string& entryName : entryNames) {
        context.ThrowIfStopped();
        if (!IsExaminedEntryName(entryName))
            continue;
        ExamineEntry(context, *key, appPathsKey, entryName);
    }
}

}  // namespace

void CheckSoftwareLocations(ScanContext& context) {
    for (const std::string& appPathsKey :
         MachineKeyInBothViews(context.Registry(), kAppPathsList.path))
        ExamineAppPaths(context, appPathsKey);
}

}  // namespace vantrel
