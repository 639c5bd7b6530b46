// Startup Programs: programs that Windows starts at logon but that no longer exist.
#include <exception>
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

namespace {
constexpr std::string_view kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr std::string_view kRunOnceKey = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr std::string_view kCommandValue = "command";
}  // namespace

extern const RegistryList kUserRunList = {RootKey::CurrentUser, kRunKey, ListKey::Container,
                                          ListWalk::Alone};
extern const RegistryList kUserRunOnceList = {RootKey::CurrentUser, kRunOnceKey, ListKey::Container,
                                              ListWalk::Alone};
extern const RegistryList kMachineRunList = {RootKey::LocalMachine, kRunKey, ListKey::Container,
                                             ListWalk::Alone};
extern const RegistryList kMachineRunOnceList = {RootKey::LocalMachine, kRunOnceKey,
                                                 ListKey::Container, ListWalk::Alone};
// The system configuration tool's disabled startup entries.
extern const RegistryList kConfigToolStartupList = {
    RootKey::LocalMachine, "Software\\Microsoft\\Shared Tools\\MSConfig\\startupreg",
    ListKey::Container, ListWalk::Shared};

namespace {

// A folder does not start at logon, so an existing directory does not count as the program.
bool IsMissingProgram(const ScanContext& context, std::string_view keyPath,
                      std::string_view commandLine) {
    return context.IsMissingFilePath(keyPath, commandLine, "", false);
}

// A configuration-tool row deletes the entry's key; its command is read again from the key.
bool ConfigToolCommandStillMissing(ScanContext& context, const RowTarget& entry,
                                   const RowEvidence&) {
    const std::optional<std::string> command = ReadEntryText(context, entry, kCommandValue);
    return command && IsMissingProgram(context, entry.keyPath, *command);
}

void ExamineRunKey(ScanContext& context, RootKey root, std::string_view keyPath) {
    const auto key = context.OpenRegistryKey(root, keyPath);
    if (!key)
        return;
    context.ShowProgressKey(keyPath);
    ForEachStringValue(context, *key, [&](const std::string& name, const std::string& command) {
        if (IsMissingProgram(context, keyPath, command))
            context.AddScanIssue(ValueKeyText(RootKeyName(root), keyPath, name), command,
                                 RepairKind::DeleteValueInKey, NamesMissingProgramReason(command),
                                 RowRisk::Safe, MissingPathEvidence({}, false));
    });
}

// The machine's run keys are read in the 32-bit view too; a user's are the same in both.
void ExamineRunKey(ScanContext& context, const RegistryList& runList) {
    if (runList.root != RootKey::LocalMachine) {
        ExamineRunKey(context, runList.root, runList.path);
        return;
    }
    for (const std::string& keyPath : MachineKeyInBothViews(context.Registry(), runList.path))
        ExamineRunKey(context, runList.root, keyPath);
}

// The system configuration tool's entries: one key per entry, its command line in the value
// "command".
void ExamineConfigToolEntries(ScanContext& context, std::string_view configToolKey) {
    const auto key = context.OpenRegistryKey(kConfigToolStartupList.root, configToolKey);
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
        if (!IsStringValueType(key->GetDataType(kCommandValue)))
            continue;
        const std::string commandLine = key->ReadString(kCommandValue);
        if (!IsMissingProgram(context, entryPath, commandLine))
            continue;
        context.AddScanIssue(
            ValueKeyText(RootKeyName(kConfigToolStartupList.root), configToolKey, entryName),
            commandLine, RepairKind::DeleteKey, NamesMissingProgramReason(commandLine),
            RowRisk::Safe, JudgedBy(&ConfigToolCommandStillMissing));
    }
}

void ExamineConfigToolEntries(ScanContext& context) {
    for (const std::string& keyPath :
         MachineKeyInBothViews(context.Registry(), kConfigToolStartupList.path))
        ExamineConfigToolEntries(context, keyPath);
}

}  // namespace

void CheckStartupPrograms(ScanContext& context) {
    for (const RegistryList* runList :
         {&kUserRunList, &kUserRunOnceList, &kMachineRunList, &kMachineRunOnceList})
        ExamineRunKey(context, *runList);
    // The configuration tool's key is optional and its entries are written by another program;
    // an error there ends only this part and keeps the rows found so far. A stop is not an
    // error and still ends the scan.
    try {
        ExamineConfigToolEntries(context);
    } catch (const std::exception&) {
    }
}

}  // namespace vantrel
