#include "scan/ProtectedKeys.h"

#include <array>
#include <vector>

#include "platform/PathText.h"
#include "platform/TextCase.h"
#include "scan/RowTarget.h"

namespace vantrel {

namespace {

using Segments = std::vector<std::string_view>;

constexpr std::string_view kSoftware = "Software";
constexpr std::string_view kClasses = "Classes";
constexpr std::string_view kWow64Node = "Wow6432Node";
constexpr std::string_view kClassesHiveSuffix = "_Classes";

// The containers Windows itself creates directly below Software, in the machine's and in every
// user's hive; programs expect them to be there, empty or not.
constexpr std::array<std::string_view, 8> kSoftwareContainers = {
    "Classes",                  // the class registrations (and every user's link to them)
    "Clients",                  // mail, browser and media clients
    "Microsoft",                // Windows' own settings
    "ODBC",                     // data sources
    "Policies",                 // group policy, read by Windows and programs alike
    "Registered Applications",  // Default Programs
    "RegisteredApplications",   // its other spelling, used by some versions
    "Wow6432Node",              // the 32-bit view's own Software
};

// The keys the checks read as lists of entries (paths below Software, as the 64-bit view
// names them): each entry of a list may be stale, the list itself is never.
constexpr std::array<std::string_view, 20> kListContainers = {
    "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths",   // Software Locations
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall",   // Add/Remove Programs, Installer
    "Software\\Microsoft\\Windows\\CurrentVersion\\Run",         // Startup Programs
    "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce",     // Startup Programs
    "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls",  // Shared DLLs
    "Software\\Microsoft\\Windows\\Help",                        // Help File Paths
    "Software\\Microsoft\\Windows\\Html Help",                   // Help File Paths
    "Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts",    // Windows Fonts (NT)
    "Software\\Microsoft\\Windows\\CurrentVersion\\Fonts",       // Windows Fonts (95, 98, Me)
    "Software\\Microsoft\\Shared Tools\\MSConfig\\startupreg",   // Startup Programs
    "Software\\Microsoft\\Windows\\CurrentVersion\\Installer\\Folders",               // Installer
    "Software\\Microsoft\\Windows\\CurrentVersion\\App Management\\ARPCache",         // Installer
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU",  // MRU lists
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts",  // File Extensions
    // Start Menu, one ordering key per shell generation.
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Start Menu2\\Programs",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Start Menu\\Programs",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Start Menu\\&Programs",
    "Software\\Classes\\CLSID",         // Custom Controls
    "Software\\Classes\\TypeLib",       // Invalid ActiveX
    "Software\\Classes\\Applications",  // Applications
};

// A user hive's list outside Software: the sound schemes (Sound and Appevents).
constexpr std::string_view kSoundSchemes = "AppEvents\\Schemes\\Apps";

// Below SYSTEM: the service list (Windows Services), in the current control set and in the
// numbered sets it links to.
constexpr std::string_view kServices = "Services";
constexpr std::string_view kCurrentControlSet = "CurrentControlSet";
constexpr std::string_view kNumberedControlSet = "ControlSet";

bool SameSegments(const Segments& segments, std::string_view path) {
    const Segments listed = SplitKeyPath(path);
    if (listed.size() != segments.size())
        return false;
    for (size_t i = 0; i < listed.size(); ++i) {
        if (!EqualsIgnoreCase(listed[i], segments[i]))
            return false;
    }
    return true;
}

// The path as the 64-bit view names its twin: "Software\Wow6432Node\X" is "Software\X", and
// "Software\Classes\Wow6432Node\X" is "Software\Classes\X".
Segments WithoutWow64Node(Segments segments) {
    if (segments.size() > 2 && EqualsIgnoreCase(segments[1], kWow64Node)) {
        segments.erase(segments.begin() + 1);
    } else if (segments.size() > 3 && EqualsIgnoreCase(segments[1], kClasses) &&
               EqualsIgnoreCase(segments[2], kWow64Node)) {
        segments.erase(segments.begin() + 2);
    }
    return segments;
}

bool IsSoftwareContainer(std::string_view name) {
    for (std::string_view container : kSoftwareContainers) {
        if (EqualsIgnoreCase(name, container))
            return true;
    }
    return false;
}

// A path below a hive's Software key ("Software\...").
bool IsProtectedBelowSoftware(const Segments& path) {
    const Segments segments = WithoutWow64Node(path);
    if (segments.size() == 2 && IsSoftwareContainer(segments[1]))
        return true;
    // The 32-bit view's own classes container, "Software\Classes\Wow6432Node".
    if (segments.size() == 3 && EqualsIgnoreCase(segments[1], kClasses) &&
        EqualsIgnoreCase(segments[2], kWow64Node)) {
        return true;
    }
    for (std::string_view container : kListContainers) {
        if (SameSegments(segments, container))
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
    return SameSegments(segments, kSoundSchemes);
}

// A path of the classes (HKEY_CLASSES_ROOT, or a user's classes hive), below its root.
bool IsProtectedInClasses(const Segments& segments) {
    if (segments.empty())
        return true;
    Segments software = {kSoftware, kClasses};
    software.insert(software.end(), segments.begin(), segments.end());
    return IsProtectedBelowSoftware(software);
}

bool IsNamedControlSet(std::string_view name) {
    return EqualsIgnoreCase(name, kCurrentControlSet) ||
           StartsWithIgnoreCase(name, kNumberedControlSet);
}

bool IsProtectedInLocalMachine(const Segments& segments) {
    // The root, and the hives at its top (SOFTWARE, SYSTEM, SAM, SECURITY, HARDWARE).
    if (segments.size() <= 1)
        return true;
    if (EqualsIgnoreCase(segments[0], kSoftware))
        return IsProtectedBelowSoftware(segments);
    if (EqualsIgnoreCase(segments[0], "SYSTEM")) {
        // The system hive's own keys: control sets, Select, Setup, MountedDevices.
        if (segments.size() == 2)
            return true;
        return segments.size() == 3 && IsNamedControlSet(segments[1]) &&
               EqualsIgnoreCase(segments[2], kServices);
    }
    return false;
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
