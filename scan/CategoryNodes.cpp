#include "scan/CategoryNodes.h"

namespace vantrel {

const std::vector<CategoryNode>& CategoryNodes() {
    static const std::vector<CategoryNode> kNodes = {
        {0, "My Computers", 1},
        {1, "Files and Folders", 2},
        {2, "HKEY_LOCAL_MACHINE", 3},
        {2, "HKEY_CURRENT_USER", 4},
        {2, "HKEY_USERS", 5},
        {1, "Start Menu", 16},
        {1, "Obsolete Software", 14},
        {1, "File Extensions", 12},
        {1, "Invalid ActiveX", 19},
        {1, "Applications", 22},
        {1, "Add/Remove Programs", 11},
        {1, "Shared DLLs", 9},
        {1, "Help File Paths", 8},
        {1, "Software Locations", 6},
        {1, "Windows Fonts", 7},
        {1, "Sound and Appevents", 18},
        {1, "Startup Programs", 10},
        {1, "Custom Controls", 13},
        {1, "Windows Services", 15},
        {1, "Shortcuts", 17},
        {1, "MRU and History Lists", 20},
        {1, "Installer", 21},
    };
    return kNodes;
}

std::vector<std::string> CheckIdsInTreeOrder() {
    std::vector<std::string> ids;
    for (const CategoryNode& node : CategoryNodes()) {
        if (node.imageIndex > 2)
            ids.push_back(std::to_string(node.imageIndex));
    }
    return ids;
}

}  // namespace vantrel
