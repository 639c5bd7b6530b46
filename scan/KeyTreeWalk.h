#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/RegistryAccess.h"
#include "scan/ScanContext.h"

namespace vantrel {

// One key as a walk hands it to its visitor, open read-only.
struct WalkedKey {
    RegistryAccess& access;
    const std::string& path;  // below the root
    std::string_view name;    // the key's own name: the last segment of its path
    bool isStart;             // the key the walk started at
};

// Whether the walk goes on into the subkeys of the key just visited.
enum class WalkOn { IntoSubkeys, PastSubkeys };

// Whether the walk shows every key it opens on the progress line (before the visit), or leaves
// the progress line to the visitor.
enum class ProgressLine { EveryKey, ByVisitor };

// What a walk does at the keys it reaches.
class KeyVisitor {
  public:
    virtual ~KeyVisitor() = default;
    // Asked before a key is opened: false leaves the key and its subtree out.
    virtual bool Enters(std::string_view keyPath) {
        static_cast<void>(keyPath);
        return true;
    }
    virtual WalkOn Visit(const WalkedKey& key) = 0;
};

// The one walk of a key tree: the key at startPath below the root and every key below it, depth
// first, each key before its subkeys, subkeys in enumeration order. Keys are opened read-only;
// a key that cannot be opened hides its subtree silently. A link below the starting key is
// neither visited nor entered: the key it leads to is another key's, walked (if at all) under
// its own path, so no key is visited twice. The stop request is observed between keys. Errors
// the visitor raises pass out of the walk.
//
// Each depth has its own accessor, reused for every key at that depth: a key stays open while
// its subtree is walked, and no accessor is made per key (a class tree holds tens of thousands).
void WalkKeyTree(ScanContext& context, RootKey root, std::string_view startPath,
                 KeyVisitor& visitor, ProgressLine progress = ProgressLine::EveryKey);

}  // namespace vantrel
