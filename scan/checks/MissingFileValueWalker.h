#pragma once

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
// the whole key path, letter case of a to z ignored. An entry ending in "*" leaves out every key
// of its parent whose name begins with the rest. An entry also leaves out its twins in the 32-bit
// view (PathAndThirtyTwoBitTwins).
class SkipKeyList : public KeyFilter {
  public:
    SkipKeyList() = default;
    explicit SkipKeyList(const std::vector<std::string>& keyPaths);
    bool Skips(std::string_view keyPath) const override;

  private:
    // The entries and their twins; a prefix entry without its "*".
    std::vector<std::string> wholePaths_;
    std::vector<std::string> namePrefixes_;
};

// In force during Files and Folders - HKEY_LOCAL_MACHINE: the lists other checks walk alone and
// the trees Windows owns.
const SkipKeyList& LocalMachineSkipKeys();
// In force during Files and Folders - HKEY_CURRENT_USER, and below each other user's hive during
// Files and Folders - HKEY_USERS.
const SkipKeyList& CurrentUserSkipKeys();
const SkipKeyList& NoSkipKeys();

// The risk of a walk's rows: safe; review (entries of a history list); or review where the key
// lies in the Software key of a program still installed (a setting of a program that is there).
enum class WalkRisk { Safe, Review, ReviewInInstalledProgram };

// Walks the key at keyPath under one of the scanned roots and every key below it (values before
// subkeys, depth first, in enumeration order) and adds a row of RepairKind 1 for every string value
// whose text names a file missing from a fixed drive. With a fileName only text that contains it is
// judged, cut right after it. Each row's reason names the text judged; its risk follows `risk`.
// Unopenable keys hide their subtree silently; a registry error while a value is read passes out of
// the walk.
void WalkMissingFileValues(ScanContext& context, RootKey root, std::string_view keyPath,
                           std::string_view fileName, const KeyFilter& skipKeys = NoSkipKeys(),
                           WalkRisk risk = WalkRisk::Safe);

}  // namespace vantrel
