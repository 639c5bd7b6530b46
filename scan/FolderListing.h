#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/FileSystem.h"

namespace vantrel {

// One folder's entries, looked up by plain ASCII name with the letters a to z in either case,
// as the system looks names up.
class FolderListing {
  public:
    enum class Entry { Missing, File, Directory, Unknown };

    explicit FolderListing(const std::vector<FolderEntry>& entries);

    // Unknown when only the system can say: the entry is a junction or symbolic link, two
    // entries differ only in letter case but not in kind, or the name is not listed while the
    // listing holds names the system may match by rules of its own (non-ASCII letters, whose case
    // folding is the system's, and short-name stand-ins for names the ANSI code page cannot hold).
    Entry Find(std::string_view name) const;

  private:
    std::unordered_map<std::string, Entry> entries_;
    bool absenceIsExact_ = true;
    // Where the name looked up is folded: a lookup allocates nothing once it has grown.
    mutable std::string key_;
};

}  // namespace vantrel
