#include "scan/CheckCatalogue.h"

#include <charconv>

namespace vantrel {

const std::vector<CheckInfo>& CheckCatalogue() {
    static const std::vector<CheckInfo> kCatalogue = {
        {3, "HKEY_LOCAL_MACHINE", "Scanning Files and Folders - HKEY_LOCAL_MACHINE...",
         "Invalid File or Folder"},
        {4, "HKEY_CURRENT_USER", "Scanning Files and Folders - HKEY_CURRENT_USER...",
         "Invalid File or Folder"},
        {5, "HKEY_USERS", "Scanning Files and Folders - HKEY_USERS...", "Invalid File or Folder"},
        {6, "Software Locations", "Scanning Software Locations...", "Software Locations Issue"},
        {7, "Windows Fonts", "Scanning Windows Fonts...", "Fonts Issue"},
        {8, "Help File Paths", "Scanning Invalid Help Files...", "Invalid Help Files"},
        {9, "Shared DLLs", "Scanning Shared DLLs...", "Missing Shared Dlls"},
        {10, "Startup Programs", "Scanning Startup Programs...", "Missing Startup Programs"},
        {11, "Add/Remove Programs", "Scanning Add/Remove Programs...", "Add/Remove Programs Issue"},
        {12, "File Extensions", "Scanning File Extensions...", "Unused File Extension"},
        {13, "Custom Controls", "Scanning Custom Controls...", "Custom Controls Issue"},
        {14, "Obsolete Software", "Scanning Software Locations...", "Obsolete Software Key"},
        {15, "Windows Services", "Scanning Windows Services...", "Windows Service Issue"},
        {16, "Start Menu", "Scanning Start Menu...", "Old Start Menu Key"},
        {17, "Shortcuts", "Scanning Shortcuts...", "Missing ShortCut reference"},
        {18, "Sound and Appevents", "Scanning Sound and Appevents...", "Missing Sound File"},
        {19, "Invalid ActiveX", "Scanning Invalid ActiveX...", "ActiveX Issue"},
        {20, "MRU and History Lists", "Scanning MRU and History Lists...",
         "Missing MRU and History Lists file"},
        {21, "Installer", "Scanning Installer...", "Installer Refrence Issue"},
        {22, "Applications", "", "Open with Application Issue"},
    };
    return kCatalogue;
}

const CheckInfo* FindCheck(CheckId id) {
    if (id < kFirstCheckId || id > kLastCheckId)
        return nullptr;
    return &CheckCatalogue()[static_cast<size_t>(id - kFirstCheckId)];
}

std::optional<CheckId> ParseCheckId(std::string_view text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || text.empty())
        return std::nullopt;
    if (value < kFirstCheckId || value > kLastCheckId)
        return std::nullopt;
    return value;
}

}  // namespace vantrel
