// Help File Paths: help-file entries whose file is not in the folder they name.
#include <array>
#include <optional>
#include <string>

#include "platform/PathText.h"
#include "scan/ScanContext.h"
#include "scan/checks/CheckSupport.h"

namespace vantrel {

namespace {

constexpr std::array<std::string_view, 2> kHelpKeys = {
    "Software\\Microsoft\\Windows\\Help",
    "Software\\Microsoft\\Windows\\Html Help",
};

// The folder a help entry names. Text of another type is not a folder and is passed over
// (nullopt) instead of failing the read; a value of zero length still reads as empty.
std::optional<std::string> ReadHelpFolder(RegistryAccess& key, const std::string& name) {
    if (IsStringValueType(key.GetDataType(name)))
        return key.ReadString(name);
    if (key.ReadRawValue(name).data.empty())
        return std::string();
    return std::nullopt;
}

void ExamineHelpKey(ScanContext& context, RegistryAccess& key, std::string_view keyPath) {
    key.CloseKey();
    if (!key.OpenKey(keyPath))
        return;
    context.ShowProgressKey(keyPath);
    const std::vector<std::string> helpNames = key.GetValueNames();
    for (const std::string& helpName : helpNames) {
        context.ThrowIfStopped();
        const std::optional<std::string> folder = ReadHelpFolder(key, helpName);
        if (!folder)
            continue;
        // An empty folder leaves the bare name, judged against the current folder.
        const std::string helpFile = JoinFilePath(*folder, helpName);
        if (context.Files().FileExists(helpFile))
            continue;
        context.AddScanIssue(ValueKeyText("HKEY_LOCAL_MACHINE", keyPath, helpName), helpFile,
                             RepairKind::DeleteValueInKey);
    }
}

}  // namespace

void CheckHelpFilePaths(ScanContext& context) {
    const auto key = context.NewRegistryAccess(RootKey::LocalMachine);
    for (std::string_view keyPath : kHelpKeys)
        ExamineHelpKey(context, *key, keyPath);
}

}  // namespace vantrel
