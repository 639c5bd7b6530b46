#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "scan/ScanContext.h"

namespace vantrel {

// Which keys a walk leaves out, together with their subtrees.
class KeyFilter {
  public:
    virtual ~KeyFilter() = default;
    virtual bool Skips(std::string_view keyPath) const = 0;
};

// Key paths that a walk leaves out together with their subtrees; each entry is compared with
// the whole key path, letter case of a to z ignored. An entry also leaves out its twins in the
// 32-bit view: "Software\X" also "Software\Wow6432Node\X", and "Software\Classes\X" also
// "Software\Classes\Wow6432Node\X" and "Software\Wow6432Node\Classes\X".
class SkipKeyList : public KeyFilter {
  public:
    SkipKeyList() = default;
    SkipKeyList(std::initializer_list<std::string_view> keyPaths);
    bool Skips(std::string_view keyPath) const override;

  private:
    std::vector<std::string> keyPaths_;  // the entries and their twins
};

// In force during Files and Folders - HKEY_LOCAL_MACHINE: subtrees that other checks cover or
// that are too large to be worth a walk.
const SkipKeyList& LocalMachineSkipKeys();
// In force during Files and Folders - HKEY_CURRENT_USER, and below each other user's hive during
// Files and Folders - HKEY_USERS.
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
                           const KeyFilter& skipKeys = NoSkipKeys());

}  // namespace vantrel
