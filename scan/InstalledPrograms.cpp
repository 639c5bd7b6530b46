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

// The next backslash-separated segment of path from pos on; pos moves past it.
std::string_view NextSegment(std::string_view path, size_t& pos) {
    if (pos > path.size())
        return {};
    const size_t end = std::min(path.find('\\', pos), path.size());
    const std::string_view segment = path.substr(pos, end - pos);
    pos = end + 1;
    return segment;
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
    size_t pos = 0;
    if (root == RootKey::Users)
        NextSegment(keyPath, pos);
    if (!EqualsIgnoreCase(NextSegment(keyPath, pos), "Software"))
        return false;
    std::string_view vendor = NextSegment(keyPath, pos);
    if (EqualsIgnoreCase(vendor, "Wow6432Node"))
        vendor = NextSegment(keyPath, pos);
    return Contains(vendor) || Contains(NextSegment(keyPath, pos));
}

}  // namespace vantrel
