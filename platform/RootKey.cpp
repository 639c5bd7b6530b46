#include "platform/RootKey.h"

#include <array>

#include "platform/TextCase.h"

namespace vantrel {

namespace {

struct RootName {
    RootKey root;
    std::string_view name;
    bool isScanned;  // one of the five roots a scan reads
};

constexpr std::array<RootName, 7> kRootNames = {{
    {RootKey::ClassesRoot, "HKEY_CLASSES_ROOT", true},
    {RootKey::CurrentUser, "HKEY_CURRENT_USER", true},
    {RootKey::LocalMachine, "HKEY_LOCAL_MACHINE", true},
    {RootKey::Users, "HKEY_USERS", true},
    {RootKey::PerformanceData, "HKEY_PERFORMANCE_DATA", false},
    {RootKey::CurrentConfig, "HKEY_CURRENT_CONFIG", true},
    {RootKey::DynData, "HKEY_DYN_DATA", false},
}};

const RootName* FindRoot(RootKey root) {
    for (const RootName& entry : kRootNames) {
        if (entry.root == root)
            return &entry;
    }
    return nullptr;
}

}  // namespace

RootKey RootKeyFromName(std::string_view name) {
    for (const RootName& entry : kRootNames) {
        if (entry.isScanned && EqualsIgnoreCase(name, entry.name))
            return entry.root;
    }
    return RootKey::None;
}

bool IsScannedRoot(RootKey root) {
    const RootName* entry = FindRoot(root);
    return entry != nullptr && entry->isScanned;
}

std::string RootKeyName(RootKey root) {
    const RootName* entry = FindRoot(root);
    return entry == nullptr ? std::string() : std::string(entry->name);
}

}  // namespace vantrel
