#include "scan/CheckedLists.h"

#include <string_view>

#include "platform/PathText.h"
#include "platform/TextCase.h"
#include "scan/CheckTable.h"
#include "scan/checks/NameLists.h"

namespace vantrel {

namespace {

constexpr std::string_view kMachineClasses = "Software\\Classes";
constexpr std::string_view kSoftware = "Software";
constexpr std::string_view kSoftwarePrefix = "Software\\";

// The hive a list lies in, and its path there.
struct ListInHive {
    RootKey hive;
    std::string path;
};

ListInHive InHive(const RegistryList& list) {
    if (list.root == RootKey::ClassesRoot)
        return {RootKey::LocalMachine, JoinKeyPath(kMachineClasses, list.path)};
    return {list.root, std::string(list.path)};
}

// Software itself counts: it is the hive's key the lists below it are in.
bool IsInSoftware(std::string_view path) {
    return EqualsIgnoreCase(path, kSoftware) || StartsWithIgnoreCase(path, kSoftwarePrefix);
}

void AddOnce(std::vector<std::string>& paths, std::string path) {
    if (!ContainsNameIgnoreCase(paths, path))
        paths.push_back(std::move(path));
}

template <typename Keeps>
std::vector<std::string> ListPaths(Keeps&& keeps) {
    std::vector<std::string> paths;
    for (const RegistryList* list : ListsReadByChecks()) {
        ListInHive inHive = InHive(*list);
        if (keeps(*list, inHive))
            AddOnce(paths, std::move(inHive.path));
    }
    return paths;
}

}  // namespace

std::vector<std::string> ListsWalkedAlone(RootKey hive) {
    return ListPaths([hive](const RegistryList& list, const ListInHive& inHive) {
        return list.IsWalkedAlone() && inHive.hive == hive;
    });
}

std::vector<std::string> PathsLeftOutOfTheWalk(RootKey hive) {
    std::vector<std::string> paths = ListsWalkedAlone(hive);
    const OwnerHives kind = hive == RootKey::LocalMachine ? OwnerHives::Machine : OwnerHives::User;
    for (const WindowsOwnedTree& tree : WindowsOwnedTrees()) {
        if (tree.hives == kind || tree.hives == OwnerHives::Both)
            AddOnce(paths, std::string(tree.path));
    }
    return paths;
}

std::vector<std::string> ContainerListsInSoftware() {
    return ListPaths([](const RegistryList& list, const ListInHive& inHive) {
        return list.IsContainer() && IsInSoftware(inHive.path);
    });
}

std::vector<std::string> ContainerListsOutsideSoftware(RootKey hive) {
    return ListPaths([hive](const RegistryList& list, const ListInHive& inHive) {
        return list.IsContainer() && inHive.hive == hive && !IsInSoftware(inHive.path);
    });
}

}  // namespace vantrel
