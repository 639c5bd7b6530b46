#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vantrel {

// The predefined registry roots, numbered as the system numbers its HKEY constants so the
// Win32 adapter can cast them directly.
enum class RootKey : uint32_t {
    None = 0,
    ClassesRoot = 0x80000000u,
    CurrentUser = 0x80000001u,
    LocalMachine = 0x80000002u,
    Users = 0x80000003u,
    PerformanceData = 0x80000004u,
    CurrentConfig = 0x80000005u,
    DynData = 0x80000006u,
};

// Maps one of the five scanned roots' full names (any letter case) to its key; anything
// else, including the performance and dynamic-data roots, gives RootKey::None.
RootKey RootKeyFromName(std::string_view name);

// True for the five roots a scan reads: classes, current user, local machine, users and current
// configuration.
bool IsScannedRoot(RootKey root);

// The root's full name in capitals ("HKEY_LOCAL_MACHINE"), or "" for RootKey::None.
std::string RootKeyName(RootKey root);

}  // namespace vantrel
