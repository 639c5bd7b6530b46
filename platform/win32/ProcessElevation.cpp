#include "platform/win32/ProcessElevation.h"

#include <windows.h>

#include "platform/win32/UniqueHandle.h"

namespace vantrel {
namespace {

// Systems without user account control know no elevation: there an administrator's every
// process holds the rights.
bool IsAdministratorsMember() {
    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    PSID administrators = nullptr;
    if (!::AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID,
                                    DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0, &administrators))
        return false;
    BOOL member = FALSE;
    if (!::CheckTokenMembership(nullptr, administrators, &member))
        member = FALSE;
    ::FreeSid(administrators);
    return member != FALSE;
}

}  // namespace

bool IsProcessElevated() {
    unique_handle token;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.put()))
        return IsAdministratorsMember();
    TOKEN_ELEVATION elevation{};
    DWORD length = 0;
    if (!::GetTokenInformation(token.get(), TokenElevation, &elevation, sizeof elevation, &length))
        return IsAdministratorsMember();
    return elevation.TokenIsElevated != 0;
}

}  // namespace vantrel
