// Software Locations: application path entries whose program file is gone.
#include "platform/PathText.h"
#include "platform/TextCase.h"
#include "scan/ScanContext.h"
#include "scan/checks/CheckSupport.h"

namespace vantrel {

namespace {

constexpr std::string_view kAppPathsKey = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths";

// Entries named after something other than a program (foo.dll) are not judged; a name without
// any dot is.
bool IsExaminedEntryName(std::string_view name) {
    if (name.find('.') == std::string_view::npos)
        return true;
    return EndsWithIgnoreCase(name, ".EXE");
}

void ExamineEntry(ScanContext& context, RegistryAccess& key, const std::string& entryName) {
    const std::string entryPath = JoinKeyPath(kAppPathsKey, entryName);
    key.CloseKey();
    if (!key.OpenKey(entryPath))
        return;
    context.ShowProgressKey(entryPath);
    if (!IsStringValueType(key.GetDataType("")))
        return;
    const std::string programPath = key.ReadString("");
    if (programPath.empty())
        return;
    if (!context.Paths().IsMissingFilePath(programPath, entryName, true))
        return;
    context.AddScanIssue(ValueKeyText("HKEY_LOCAL_MACHINE", kAppPathsKey, entryName), programPath,
                         RepairKind::DeleteKey);
}

}  // namespace

void CheckSoftwareLocations(ScanContext& context) {
    const auto key = context.OpenRegistryKey(RootKey::LocalMachine, kAppPathsKey);
    if (!key)
        return;
    const std::vector<std::string> entryNames = key->GetKeyNames();
    for (const std::string& entryName : entryNames) {
        context.ThrowIfStopped();
        if (!IsExaminedEntryName(entryName))
            continue;
        ExamineEntry(context, *key, entryName);
    }
}

}  // namespace vantrel
