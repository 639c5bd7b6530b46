#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/RegistryAccess.h"

namespace vantrel {

// What the scan needs to know about the registry's views and hives on 64-bit Windows.

// The key path and the paths of its twins in the 32-bit view, where that view has its own:
// "Software\X" also "Software\Wow6432Node\X", and "Software\Classes\X" also
// "Software\Classes\Wow6432Node\X" (and "Software\Wow6432Node\Classes\X").
std::vector<std::string> PathAndThirtyTwoBitTwins(std::string_view keyPath);

// True when the key lies below a "Wow6432Node" key: it belongs to the 32-bit programs' view,
// and its values name files as a 32-bit program sees them.
bool IsThirtyTwoBitKeyPath(std::string_view keyPath);

// The path below its root of the key that the system's own name (OpenKeyName) names, when the
// name lies below rootName ("\REGISTRY\MACHINE"); nullopt otherwise.
std::optional<std::string> PathOfSystemName(std::string_view systemName, std::string_view rootName);

// The real path of the key that the 32-bit view shows at keyPath below HKEY_LOCAL_MACHINE,
// when that is a key of its own: not the native key itself (a shared key, or a system without
// 32-bit view), and there. The system's name for it tells; the path keeps keyPath's spelling,
// with "Wow6432Node" where the system puts it ("Software\Wow6432Node\Microsoft\..."), or is the
// system's own spelling when the 32-bit key lies elsewhere.
std::optional<std::string> ThirtyTwoBitTwinPath(RegistrySource& registry, std::string_view keyPath);

// The key paths below HKEY_LOCAL_MACHINE that a check reads for one of its fixed keys: the key
// itself, then its 32-bit twin when that is a key of its own.
std::vector<std::string> MachineKeyInBothViews(RegistrySource& registry, std::string_view keyPath);

// The name under HKEY_USERS of the hive that HKEY_CURRENT_USER is (the running user's SID);
// nullopt when the system does not say.
std::optional<std::string> CurrentUserHiveName(RegistrySource& registry);

}  // namespace vantrel
