#include "platform/RootKey.h"

#include "platform/TextCase.h"

namespace vantrel {

RootKey RootKeyFromName(std::string_view name) {
    const std::string upper = UpperAscii(name);
    if (upper == "HKEY_CURRENT_USER")
        return RootKey::CurrentUser;
    if (upper == "HKEY_CLASSES_ROOT")
        return RootKey::ClassesRoot;
    if (upper == "HKEY_USERS")
        return RootKey::Users;
    if (upper == "HKEY_CURRENT_CONFIG")
        return RootKey::CurrentConfig;
    if (upper == "HKEY_LOCAL_MACHINE")
        return RootKey::LocalMachine;
    return RootKey::None;
}

std::string RootKeyName(RootKey root) {
    switch (root) {
        case RootKey::ClassesRoot:
            return "HKEY_CLASSES_ROOT";
        case RootKey::CurrentUser:
            return "HKEY_CURRENT_USER";
        case RootKey::LocalMachine:
            return "HKEY_LOCAL_MACHINE";
        case RootKey::Users:
            return "HKEY_USERS";
        case RootKey::PerformanceData:
            return "HKEY_PERFORMANCE_DATA";
        case RootKey::CurrentConfig:
            return "HKEY_CURRENT_CONFIG";
        case RootKey::DynData:
            return "HKEY_DYN_DATA";
        case RootKey::None:
            break;
    }
    return "";
}

}  // namespace vantrel
