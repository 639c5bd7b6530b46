#include "scan/ProtectedKeys.h"

#include <array>
#include <vector>

#include "platform/PathText.h"
#include "platform/TextCase.h"
#include "scan/CheckedLists.h"
#include "scan/RegistryViews.h"
#include "scan/RowTarget.h"
#include "scan/checks/NameLists.h"

namespace vantrel {

namespace {

using Segments = std::vector<std::string_view>;

constexpr std::string_view kSoftware = "Software";
constexpr std::string_view kClasses = "Classes";
constexpr std::string_view kSystem = "SYSTEM";
constexpr std::string_view kClassesHiveSuffix = "_Classes";

// The containers Windows itself creates directly below Software, in the machine's and in every
// user's hive, that no check reads as a list; programs expect them to be there, empty or not.
constexpr std::array<std::string_view, 7> kWindowsContainers = {
    "Clients",                  // mail, browser and media clients
    "Microsoft",                // Windows' own settings
    "ODBC",                     // data sources
    "Policies",                 // group policy, read by Windows and programs alike
    "Registered Applications",  // Default Programs
    "RegisteredApplications",   // its other spelling, used by some versions
    "Wow6432Node",              // the 32-bit view's own Software
};

// The 32-bit view's own classes container.
constexpr std::string_view kThirtyTwoBitClasses = "Software\\Classes\\Wow6432Node";

// Below SYSTEM, a list's "CurrentControlSet" stands for every control set: the current one and
// the numbered sets it links to.
constexpr std::string_view kCurrentControlSet = "CurrentControlSet";
constexpr std::string_view kNumberedControlSet = "ControlSet";

void AddWithTwins(std::vector<std::string>& paths, std::string_view path) {
    for (std::string& twin : PathAndThirtyTwoBitTwins(path))
        paths.push_back(std::move(twin));
}

// Every protected path below a hive's Software key, with its 32-bit twins: the containers
// Windows creates and the lists the checks read.
const std::vector<std::string>& ProtectedBelowSoftware() {
    static const std::vector<std::string> kPaths = [] {
        std::vector<std::string> paths;
        for (std::string_view container : kWindowsContainers)
            AddWithTwins(paths, JoinKeySegments({kSoftware, container}));
        AddWithTwins(paths, kThirtyTwoBitClasses);
        for (const std::string& list : ContainerListsInSoftware())
            AddWithTwins(paths, list);
        return paths;
    }();
    return kPaths;
}

// A path below a hive's Software key ("Software\...").
bool IsProtectedBelowSoftware(const Segments& path) {
    return ContainsNameIgnoreCase(ProtectedBelowSoftware(), JoinKeySegments(path));
}

bool IsNamedControlSet(std::string_view name) {
    return EqualsIgnoreCase(name, kCurrentControlSet) ||
           StartsWithIgnoreCase(name, kNumberedControlSet);
}

bool SameSegment(std::string_view listed, std::string_view segment) {
    if (EqualsIgnoreCase(listed, kCurrentControlSet))
        return IsNamedControlSet(segment);
    return EqualsIgnoreCase(listed, segment);
}

bool SameSegments(const Segments& segments, std::string_view listedPath) {
    const Segments listed = SplitKeyPath(listedPath);
    if (listed.size() != segments.size())
        return false;
    for (size_t i = 0; i < listed.size(); ++i) {
        if (!SameSegment(listed[i], segments[i]))
            return false;
    }
    return true;
}

// A list outside Software in a hive of this kind (RootKey::CurrentUser for every user's hive).
bool IsListOutsideSoftware(RootKey hive, const Segments& segments) {
    static const std::vector<std::string> kUserLists =
        ContainerListsOutsideSoftware(RootKey::CurrentUser);
    static const std::vector<std::string> kMachineLists =
        ContainerListsOutsideSoftware(RootKey::LocalMachine);
    for (const std::string& list : hive == RootKey::CurrentUser ? kUserLists : kMachineLists) {
        if (SameSegments(segments, list))
            return true;
    }
    return false;
}

// A path of a user's hive (HKEY_CURRENT_USER, or one below HKEY_USERS), below its root.
bool IsProtectedInUserHive(const Segments& segments) {
    // The hive's root and the keys Windows creates at its top (Software, AppEvents, ...).
    if (segments.size() <= 1)
        return true;
    if (EqualsIgnoreCase(segments[0], kSoftware))
        return IsProtectedBelowSoftware(segments);
    return IsListOutsideSoftware(RootKey::CurrentUser, segments);
}

// A path of the classes (HKEY_CLASSES_ROOT, or a user's classes hive), below its root.
bool IsProtectedInClasses(const Segments& segments) {
    if (segments.empty())
        return true;
    Segments software = {kSoftware, kClasses};
    software.insert(software.end(), segments.begin(), segments.end());
    return IsProtectedBelowSoftware(software);
}

bool IsProtectedInLocalMachine(const Segments& segments) {
    // The root, and the hives at its top (SOFTWARE, SYSTEM, SAM, SECURITY, HARDWARE).
    if (segments.size() <= 1)
        return true;
    if (EqualsIgnoreCase(segments[0], kSoftware))
        return IsProtectedBelowSoftware(segments);
    // The system hive's own keys: control sets, Select, Setup, MountedDevices.
    if (segments.size() == 2 && EqualsIgnoreCase(segments[0], kSystem))
        return true;
    return IsListOutsideSoftware(RootKey::LocalMachine, segments);
}

bool IsProtectedInUsers(const Segments& segments) {
    // The root, and each loaded hive.
    if (segments.size() <= 1)
        return true;
    const Segments inHive(segments.begin() + 1, segments.end());
    if (EndsWithIgnoreCase(segments[0], kClassesHiveSuffix))
        return IsProtectedInClasses(inHive);
    return IsProtectedInUserHive(inHive);
}

}  // namespace

bool IsProtectedKey(RootKey root, std::string_view keyPath) {
    const Segments segments = SplitKeyPath(keyPath);
    switch (root) {
        case RootKey::LocalMachine:
            return IsProtectedInLocalMachine(segments);
        case RootKey::CurrentUser:
            return IsProtectedInUserHive(segments);
        case RootKey::Users:
            return IsProtectedInUsers(segments);
        case RootKey::ClassesRoot:
            return IsProtectedInClasses(segments);
        case RootKey::CurrentConfig:
            return segments.empty();
        default:
            return false;
    }
}

bool IsProtectedRow(const ScanIssue& row) {
    // Only these delete a key; the rest (most rows of a scan) need no closer look.
    if (row.kind != RepairKind::DeleteKey && row.kind != RepairKind::DeleteSubkey)
        return false;
    const RowTarget target = RowTargetOf(row);
    return target.kind == RowTarget::Kind::Key && IsProtectedKey(target.root, target.keyPath);
}

}  // namespace vantrel
