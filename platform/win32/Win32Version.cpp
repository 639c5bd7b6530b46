#include "platform/win32/Win32Version.h"

#include <windows.h>

#include "platform/WindowsVersion.h"

namespace vantrel {

namespace {

using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);

bool ReadFromNtdll(OSVERSIONINFOW& info) {
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    if (ntdll == nullptr)
        return false;
    const FARPROC address = ::GetProcAddress(ntdll, "RtlGetVersion");
    if (address == nullptr)
        return false;
    // Through a generic function pointer: a direct cast between unrelated function types warns.
    const auto rtlGetVersion =
        reinterpret_cast<RtlGetVersionFunction>(reinterpret_cast<void (*)()>(address));
    return rtlGetVersion(&info) == 0;
}

}  // namespace

WindowsVersion CurrentWindowsVersion() {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    if (!ReadFromNtdll(info)) {
        info = OSVERSIONINFOW{};
        info.dwOSVersionInfoSize = sizeof(info);
        if (!::GetVersionExW(&info))
            return WindowsVersionCode(platformid::kNt, 0, 0);
    }
    return WindowsVersionCode(info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion);
}

}  // namespace vantrel
