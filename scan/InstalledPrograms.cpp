#include "scan/InstalledPrograms.h"

#include <algorithm>
#include <array>
#include <vector>

#include "platform/PathText.h"
#include "platform/TextCase.h"
#include "scan/CheckTable.h"
#include "scan/RegistryViews.h"
#include "scan/ScanContext.h"
#include "scan/checks/CheckSupport.h"

namespace vantrel {

extern const RegistryList kUninstallList;

namespace {

constexpr std::array<std::string_view, 3> kLocationValues = {"InstallLocation", "DisplayIcon",
                                                             "UninstallString"};
constexpr std::array<std::string_view, 2> kNameValues = {"Publisher", "DisplayName"};

std::string_view Unquoted(std::string_view text) {
    if (!text.empty() && text.front() == '"')
        text.remove_prefix(1);
    return text;
}

// Present only where it can be judged: on a fixed disk, and not missing. Anything else (a
// share, a bare name, an empty value) proves nothing about the program.
bool NamesSomethingPresent(const ScanContext& context, std::string_view entryPath,
                           std::string_view text) {
    return context.Paths().IsOnFixedDrive(Unquoted(text)) &&
           !context.IsMissingFilePath(entryPath, text, {}, true);
}

bool IsStillInstalled(const ScanContext& context, RegistryAccess& entry,
                      std::string_view entryPath) {
    for (std::string_view name : kLocationValues) {
        context.ThrowIfStopped();
        if (IsStringValueType(entry.GetDataType(name)) &&
            NamesSomethingPresent(context, entryPath, entry.ReadString(name)))
            return true;
    }
    return false;
}

void AddEntryNames(const ScanContext& context, RegistryAccess& entry, std::string_view entryName,
                   InstalledPrograms& programs) {
    programs.Add(entryName);
    for (std::string_view name : kNameValues) {
        context.ThrowIfStopped();
        if (IsStringValueType(entry.GetDataType(name)))
            programs.Add(entry.ReadString(name));
    }
}

void ReadUninstallKey(ScanContext& context, std::string_view uninstallKey,
                      InstalledPrograms& programs) {
    const auto list = context.OpenRegistryKey(kUninstallList.root, uninstallKey);
    if (!list)
        return;
    const std::vector<std::string> entryNames = list->GetKeyNames();
    const auto entry = context.NewRegistryAccess(kUninstallList.root);
    for (const std::string& entryName : entryNames) {
        context.ThrowIfStopped();
        const std::string entryPath = JoinKeyPath(uninstallKey, entryName);
        if (!entry->OpenKey(entryPath))
            continue;
        OpenKeyScope scope(*entry);
        if (IsStillInstalled(context, *entry, entryPath))
            AddEntryNames(context, *entry, entryName, programs);
    }
}

}  // namespace

InstalledPrograms InstalledPrograms::Read(ScanContext& context) {
    InstalledPrograms programs;
    for (const std::string& path : MachineKeyInBothViews(context.Registry(), kUninstallList.path))
        ReadUninstallKey(context, path, programs);
    return programs;
}

void InstalledPrograms::Add(std::string_view name) {
    if (!name.empty())
        names_.insert(UpperAscii(name));
}

bool InstalledPrograms::Contains(std::string_view name) const {
    return !name.empty() && names_.count(UpperAscii(name)) != 0;
}

bool InstalledPrograms::OwnsKey(RootKey root, std::string_view keyPath) const {
    if (names_.empty())
        return false;
    std::vector<std::string_view> segments = SplitKeyPath(keyPath);
    // Below HKEY_USERS the first segment is the user's hive; the 32-bit view's settings count
    // alike.
    if (root == RootKey::Users && !segments.empty())
        segments.erase(segments.begin());
    if (segments.size() < 2 || !EqualsIgnoreCase(segments[0], "Software"))
        return false;
    size_t vendor = 1;
    if (EqualsIgnoreCase(segments[vendor], "Wow6432Node"))
        ++vendor;
    const auto nameAt = [&](size_t index) {
        return index < segments.size() ? segments[index] : std::string_view();
    };
    return Contains(nameAt(vendor)) || Contains(nameAt(vendor + 1));
}

}  // namespace vantrel
