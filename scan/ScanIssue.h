#pragma once

#include <string>
#include <utility>

#include "scan/RowEvidence.h"

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

// How safe a row is to repair. "Review" rows are settings of a program still installed, or
// entries of a history list: their deletion is the user's call, so they are not ticked at first.
enum class RowRisk : int { Safe = 0, Review = 1 };

// The risk's one text, as reports and the window show it.
inline const char* RowRiskText(RowRisk risk) {
    return risk == RowRisk::Review ? "review" : "safe";
}

// One row of the results list.
struct ScanIssue {
    ScanIssue() = default;
    // The four texts that make the row; the evidence may follow.
    ScanIssue(std::string problemText, std::string key, std::string value, RepairKind repairKind,
              std::string why = {}, RowRisk rowRisk = RowRisk::Safe)
        : problem(std::move(problemText)),
          keyText(std::move(key)),
          valueText(std::move(value)),
          kind(repairKind),
          reason(std::move(why)),
          risk(rowRisk) {}

    std::string problem;
    std::string keyText;
    std::string valueText;
    RepairKind kind = RepairKind::DeleteKey;
    // What was tested and what was found; and the risk. Evidence only: a row is the same row
    // (operator==) whatever the wording, so they are not compared.
    std::string reason;
    RowRisk risk = RowRisk::Safe;
    // How the check judged the entry, for the re-test before repair; not compared either.
    RowEvidence evidence;

    bool operator==(const ScanIssue& other) const {
        return problem == other.problem && keyText == other.keyText &&
               valueText == other.valueText && kind == other.kind;
    }
};

}  // namespace vantrel
