#pragma once

#include <string>
#include <vector>

#include "platform/RootKey.h"

namespace vantrel {

// The lists the checks read (each check table row names its own), as the walks and the
// protected keys need them. Each path appears once, whatever its letter case, in the spelling of
// the first row that names it. A list of HKEY_CLASSES_ROOT is the machine's "Software\Classes\..."
// key here.

// The lists below a hive's root (HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER) that their check walks
// alone: the Files and Folders walk of that hive leaves them out.
std::vector<std::string> ListsWalkedAlone(RootKey hive);

// The containers in Software ("Software" and "Software\..."): protected in the machine's hive and
// in every user's alike.
std::vector<std::string> ContainerListsInSoftware();

// The containers outside Software: of a user's hive (RootKey::CurrentUser) or of the machine's
// (RootKey::LocalMachine).
std::vector<std::string> ContainerListsOutsideSoftware(RootKey hive);

// What the Files and Folders walk of a hive (HKEY_LOCAL_MACHINE, or HKEY_CURRENT_USER for every
// user's hive) leaves out: the lists their checks walk alone and the trees Windows owns there.
std::vector<std::string> PathsLeftOutOfTheWalk(RootKey hive);

}  // namespace vantrel
