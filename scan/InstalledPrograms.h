#pragma once

#include <string>
#include <string_view>
#include <unordered_set>

#include "platform/RootKey.h"

namespace vantrel {

class ScanContext;

// The names of the programs the machine's uninstall lists show as still installed: an entry's
// key name, publisher and display name. A setting under "Software\<Vendor>\<Product>" named by
// one of them belongs to a program that is there, and its deletion is for the user to decide.
class InstalledPrograms {
  public:
    // Reads both views of the machine's uninstall list. An entry counts as installed when its
    // install folder, icon or uninstall command names something that exists on a fixed disk;
    // an entry naming nothing that can be judged does not count.
    static InstalledPrograms Read(ScanContext& context);

    void Add(std::string_view name);
    // Whether the key at keyPath below root lies in the Software key of an installed program.
    // Below HKEY_USERS the first segment (the user's hive) is passed over, and a
    // "Wow6432Node" after "Software" too: the 32-bit view's settings count alike.
    bool OwnsKey(RootKey root, std::string_view keyPath) const;

  private:
    bool Contains(std::string_view name) const;

    // In capitals: letter case aside, as the registry compares names.
    std::unordered_set<std::string> names_;
};

}  // namespace vantrel
