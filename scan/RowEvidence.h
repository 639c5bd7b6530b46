#pragma once

#include <string>

namespace vantrel {

class ScanContext;
struct RowTarget;
struct RowEvidence;

// A check's rule for one entry, run again on the entry a row designates (read afresh from the
// registry and the disk): true while the row is still a problem.
using EntryRule = bool (*)(ScanContext& context, const RowTarget& target,
                           const RowEvidence& evidence);

// What a check judged when it reported a row, so that repair can judge that one entry again
// just before it deletes it (RowRecheck): the check's own rule, and what the rule needs besides
// the entry itself, captured when the row was reported.
struct RowEvidence {
    // Null: no rule is known, and the row is repaired as it was found.
    EntryRule stillAProblem = nullptr;
    // For texts judged by PathTests::IsMissingFilePath: the file name looked for ("" for a
    // command line) and whether a folder counts as the file.
    std::string fileName;
    bool allowDirectory = false;
};

// The evidence of a rule that needs nothing but the entry.
inline RowEvidence JudgedBy(EntryRule rule) {
    RowEvidence evidence;
    evidence.stillAProblem = rule;
    return evidence;
}

}  // namespace vantrel
