#pragma once

#include <string>

namespace vantrel {

// What repair deletes for a row.
enum class RepairKind : int {
    DeleteKey = 0,           // the key KeyPath with its subtree
    DeleteValueInKey = 1,    // the value named by the key text's last segment
    DeleteNamedValue = 2,    // the value named by the value text, in KeyPath
    DeleteSubkey = 3,        // the subkey KeyPath + "\" + value text, with its subtree
    DeleteNamedFile = 4,     // the file named by the whole key text
    DeleteDefaultValue = 5,  // the default value of KeyPath
};

// One row of the results list.
struct ScanIssue {
    std::string problem;
    std::string keyText;
    std::string valueText;
    RepairKind kind = RepairKind::DeleteKey;

    bool operator==(const ScanIssue& other) const {
        return problem == other.problem && keyText == other.keyText &&
               valueText == other.valueText && kind == other.kind;
    }
};

}  // namespace vantrel
