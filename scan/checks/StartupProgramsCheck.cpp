// Startup Programs: programs that Windows starts at logon but that no longer exist.
#include <array>
#include <exception>

#include "platform/PathText.h"
#include "scan/RegistryViews.h"
#include "scan/ScanContext.h"
#include "scan/checks/CheckSupport.h"

namespace vantrel {

namespace {

struct RunKey {
    std::string_view rootName;
    std::string_view path;
};

constexpr std::array<RunKey, 4> kRunKeys = {{
    {"HKEY_CURRENT_USER", "Software\\Microsoft\\Windows\\CurrentVersion\\Run"},
    {"HKEY_CURRENT_USER", "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce"},
    {"HKEY_LOCAL_MACHINE", "Software\\Microsoft\\Windows\\CurrentVersion\\Run"},
    {"HKEY_LOCAL_MACHINE", "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce"},
}};

constexpr std::string_view kConfigToolKey =
    "Software\\Microsoft\\Shared Tools\\MSConfig\\startupreg";

// A folder does not start at logon, so an existing directory does not count as the program.
bool IsMissingProgram(const ScanContext& context, std::string_view keyPath,
                      std::string_view commandLine) {
    return context.IsMissingFilePath(keyPath, commandLine, "", false);
}

void ExamineRunKey(ScanContext& context, RootKey root, std::string_view rootName,
                   std::string_view keyPath) {
    const auto key = context.OpenRegistryKey(root, keyPath);
    if (!key)
        return;
    context.ShowProgressKey(keyPath);
    ForEachStringValue(context, *key, [&](const std::string& name, const std::string& command) {
        if (IsMissingProgram(context, keyPath, command))
            context.AddScanIssue(ValueKeyText(rootName, keyPath, name), command,
                                 RepairKind::DeleteValueInKey);
    });
}

// The machine's run keys are read in the 32-bit view too; a user's are the same in both.
void ExamineRunKey(ScanContext& context, const RunKey& runKey) {
    const RootKey root = RootKeyFromName(runKey.rootName);
    if (root == RootKey::None)
        return;
    if (root != RootKey::LocalMachine) {
        ExamineRunKey(context, root, runKey.rootName, runKey.path);
        return;
    }
    for (const std::string& keyPath : MachineKeyInBothViews(context.Registry(), runKey.path))
        ExamineRunKey(context, root, runKey.rootName, keyPath);
}

// The system configuration tool's disabled startup entries: one key per entry, its command
// line in the value "command".
void ExamineConfigToolEntries(ScanContext& context, std::string_view configToolKey) {
    const auto key = context.OpenRegistryKey(RootKey::LocalMachine, configToolKey);
    if (!key)
        return;
    context.ShowProgressKey(configToolKey);
    const std::vector<std::string> entryNames = key->GetKeyNames();
    for (const std::string& entryName : entryNames) {
        context.ThrowIfStopped();
        const std::string entryPath = JoinKeyPath(configToolKey, entryName);
        key->CloseKey();
        if (!key->OpenKey(entryPath))
            continue;
        if (!IsStringValueType(key->GetDataType("command")))
            continue;
        const std::string commandLine = key->ReadString("command");
        if (!IsMissingProgram(context, entryPath, commandLine))
            continue;
        context.AddScanIssue(ValueKeyText("HKEY_LOCAL_MACHINE", configToolKey, entryName),
                             commandLine, RepairKind::DeleteKey);
    }
}

void ExamineConfigToolEntries(ScanContext& context) {
    for (const std::string& keyPath : MachineKeyInBothViews(context.Registry(), kConfigToolKey))
        ExamineConfigToolEntries(context, keyPath);
}

}  // namespace

void CheckStartupPrograms(ScanContext& context) {
    for (const RunKey& runKey : kRunKeys)
        ExamineRunKey(context, runKey);
    // The configuration tool's key is optional and its entries are written by another program;
    // an error there ends only this part and keeps the rows found so far. A stop is not an
    // error and still ends the scan.
    try {
        ExamineConfigToolEntries(context);
    } catch (const std::exception&) {
    }
}

}  // namespace vantrel
