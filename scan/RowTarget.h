#pragma once

#include <string>

#include "platform/RootKey.h"
#include "scan/ScanIssue.h"

namespace vantrel {

// What a results row stands for, read from its key and value texts and its RepairKind.
struct RowTarget {
    enum class Kind {
        Nothing,       // the key text has no "\" or the repair kind is unknown
        Key,           // kinds 0 and 3
        Value,         // kinds 1 and 2: valueName in keyPath
        DefaultValue,  // kind 5: the unnamed value of keyPath
        File,          // kind 4: filePath
    };

    Kind kind = Kind::Nothing;
    std::string rootName;          // the key text before its first "\", as the row spells it
    RootKey root = RootKey::None;  // rootName as a key; None when it names no scanned root
    std::string keyPath;           // below the root, without a leading "\"
    std::string valueName;         // Value rows only (may be empty)
    std::string filePath;          // File rows only: the whole key text

    // The root and key path as one text: rootName, "\" and keyPath, or rootName alone for the
    // root itself.
    std::string KeyText() const;
    // The value's name as ignore entries and backup files write it: "@" for the default value.
    std::string ValueText() const;
};

RowTarget RowTargetOf(const ScanIssue& row);

}  // namespace vantrel
