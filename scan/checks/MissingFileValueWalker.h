#pragma once

#include <string_view>
#include <vector>

#include "scan/ScanContext.h"

namespace vantrel {

// Key paths that a walk leaves out together with their subtrees; each entry is compared with
// the whole key path, letter case of a to z ignored.
using SkipKeyList = std::vector<std::string_view>;

// In force during Files and Folders - HKEY_LOCAL_MACHINE: subtrees that other checks cover or
// that are too large to be worth a walk.
const SkipKeyList& LocalMachineSkipKeys();
// In force during Files and Folders - HKEY_CURRENT_USER.
const SkipKeyList& CurrentUserSkipKeys();
const SkipKeyList& NoSkipKeys();

bool IsSkippedKey(const SkipKeyList& skipKeys, std::string_view keyPath);

// Walks the key at keyPath under the root named rootName (any letter case) and every key below
// it (values before subkeys, depth first, in enumeration order) and adds a row of RepairKind 1
// for every string value whose text names a file missing from a fixed drive. With a fileName
// only text that contains it is judged, cut right after it. Unopenable keys hide their subtree
// silently; a registry error while a value is read passes out of the walk.
void WalkMissingFileValues(ScanContext& context, std::string_view rootName,
                           std::string_view keyPath, std::string_view fileName,
                           const SkipKeyList& skipKeys = NoSkipKeys());

}  // namespace vantrel
