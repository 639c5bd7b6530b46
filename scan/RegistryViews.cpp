#include "scan/RegistryViews.h"

#include <memory>

#include "platform/PathText.h"
#include "platform/TextCase.h"

namespace vantrel {

namespace {

constexpr std::string_view kWow64Node = "Wow6432Node";

constexpr std::string_view kSoftware = "Software";
constexpr std::string_view kClasses = "Classes";
constexpr std::string_view kSoftwarePrefix = "Software\\";
constexpr std::string_view kClassesPrefix = "Classes\\";

using Segments = std::vector<std::string_view>;

// The system's name of the key at keyPath below HKEY_LOCAL_MACHINE in that view; nullopt when
// it does not open or has no name.
std::optional<std::string> MachineKeyName(RegistrySource& registry, std::string_view keyPath,
                                          RegistryView view) {
    const std::unique_ptr<RegistryAccess> access = registry.NewAccess();
    access->SetAccess(AccessMode::ReadOnly);
    access->SetView(view);
    access->SetRootKey(RootKey::LocalMachine);
    if (!access->OpenKey(keyPath))
        return std::nullopt;
    const OpenKeyScope keyScope(*access);
    return access->OpenKeyName();
}

// keyPath's own spelling with the system's "Wow6432Node" put in, when the real path is keyPath
// with exactly that one segment more; otherwise the real path as the system spells it.
std::string SpelledAsWritten(std::string_view keyPath, std::string_view realPath) {
    const Segments written = SplitKeyPath(keyPath);
    const Segments real = SplitKeyPath(realPath);
    if (real.size() != written.size() + 1)
        return std::string(realPath);
    for (size_t node = 0; node < real.size(); ++node) {
        if (!EqualsIgnoreCase(real[node], kWow64Node))
            continue;
        bool same = true;
        for (size_t i = 0; i < written.size() && same; ++i)
            same = EqualsIgnoreCase(written[i], real[i < node ? i : i + 1]);
        if (!same)
            continue;
        Segments spelled = written;
        spelled.insert(spelled.begin() + static_cast<std::ptrdiff_t>(node), kWow64Node);
        return JoinKeySegments(spelled);
    }
    return std::string(realPath);
}

}  // namespace

std::vector<std::string> PathAndThirtyTwoBitTwins(std::string_view keyPath) {
    std::vector<std::string> paths = {std::string(keyPath)};
    if (!StartsWithIgnoreCase(keyPath, kSoftwarePrefix))
        return paths;
    const std::string_view belowSoftware = keyPath.substr(kSoftwarePrefix.size());
    paths.push_back(JoinKeySegments({kSoftware, kWow64Node, belowSoftware}));
    if (StartsWithIgnoreCase(belowSoftware, kClassesPrefix)) {
        paths.push_back(JoinKeySegments(
            {kSoftware, kClasses, kWow64Node, belowSoftware.substr(kClassesPrefix.size())}));
    }
    return paths;
}

bool IsThirtyTwoBitKeyPath(std::string_view keyPath) {
    for (std::string_view segment : SplitKeyPath(keyPath)) {
        if (EqualsIgnoreCase(segment, kWow64Node))
            return true;
    }
    return false;
}

std::optional<std::string> PathOfSystemName(std::string_view systemName,
                                            std::string_view rootName) {
    if (!StartsWithIgnoreCase(systemName, rootName))
        return std::nullopt;
    std::string_view rest = systemName.substr(rootName.size());
    if (rest.empty())
        return std::string();
    if (rest.front() != '\\')
        return std::nullopt;
    return std::string(rest.substr(1));
}

std::optional<std::string> ThirtyTwoBitTwinPath(RegistrySource& registry,
                                                std::string_view keyPath) {
    const std::optional<std::string> twinName =
        MachineKeyName(registry, keyPath, RegistryView::ThirtyTwoBit);
    if (!twinName)
        return std::nullopt;
    // A native key that opens but has no name cannot be told apart: it is not read twice.
    const std::unique_ptr<RegistryAccess> native = registry.NewAccess();
    native->SetAccess(AccessMode::ReadOnly);
    native->SetRootKey(RootKey::LocalMachine);
    if (native->OpenKey(keyPath)) {
        const std::optional<std::string> nativeName = native->OpenKeyName();
        native->CloseKey();
        if (!nativeName || EqualsIgnoreCase(*nativeName, *twinName))
            return std::nullopt;
    }
    const std::optional<std::string> realPath = PathOfSystemName(*twinName, kMachineKeyNamePrefix);
    if (!realPath || realPath->empty())
        return std::nullopt;
    return SpelledAsWritten(keyPath, *realPath);
}

std::vector<std::string> MachineKeyInBothViews(RegistrySource& registry, std::string_view keyPath) {
    std::vector<std::string> paths{std::string(keyPath)};
    if (std::optional<std::string> twin = ThirtyTwoBitTwinPath(registry, keyPath))
        paths.push_back(std::move(*twin));
    return paths;
}

std::optional<std::string> CurrentUserHiveName(RegistrySource& registry) {
    const std::unique_ptr<RegistryAccess> access = registry.NewAccess();
    access->SetAccess(AccessMode::ReadOnly);
    access->SetRootKey(RootKey::CurrentUser);
    if (!access->OpenKey(""))
        return std::nullopt;
    const OpenKeyScope keyScope(*access);
    const std::optional<std::string> name = access->OpenKeyName();
    if (!name)
        return std::nullopt;
    const std::optional<std::string> hive = PathOfSystemName(*name, kUsersKeyNamePrefix);
    if (!hive || hive->empty() || hive->find('\\') != std::string::npos)
        return std::nullopt;
    return hive;
}

}  // namespace vantrel
