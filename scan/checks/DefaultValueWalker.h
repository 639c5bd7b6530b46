#pragma once

#include <string>
#include <string_view>

#include "scan/ScanContext.h"

namespace vantrel {

// How one default-value walk chooses the keys it judges, shows its progress and reports.
struct DefaultValueWalkRules {
    RepairKind repairKind = RepairKind::DeleteKey;
    // Null: every key of the tree is judged; otherwise only keys whose own name it accepts.
    bool (*judgesKeyName)(std::string_view keyName) = nullptr;
    // True: the progress line shows every key opened, before any test. False: only a judged
    // key whose default value is a string, just before its text is read.
    bool showsEveryKey = true;
    // The reason of a row for the key at keyPath whose default text names a missing file; null:
    // the text names a file that does not exist.
    std::string (*reasonFor)(std::string_view keyPath, std::string_view text) = nullptr;
};

// Walks the key at keyPath under one of the scanned roots and every key below it, depth first in
// enumeration order, and adds a row for every judged key whose default string names a file missing
// from a fixed drive. Keys that cannot be opened hide their subtree silently; a registry error
// while a value is read passes out of the walk.
void WalkDefaultValues(ScanContext& context, RootKey root, std::string_view keyPath,
                       const DefaultValueWalkRules& rules);

}  // namespace vantrel
