#include "platform/WindowsVersion.h"

namespace vantrel {

WindowsVersion WindowsVersionCode(uint32_t platformId, uint32_t major, uint32_t minor) {
    if (platformId == platformid::kNt) {
        if (major == 3)
            return WindowsVersion::Nt3;
        if (major == 4)
            return WindowsVersion::Nt4;
        if (major == 5 && minor == 0)
            return WindowsVersion::Windows2000;
        if (major == 5 && minor == 1)
            return WindowsVersion::WindowsXp;
        return WindowsVersion::Nt52OrLater;
    }
    if (platformId == platformid::kWindows && major == 4) {
        if (minor == 0)
            return WindowsVersion::Windows95;
        if (minor == 10)
            return WindowsVersion::Windows98;
        if (minor == 90)
            return WindowsVersion::WindowsMe;
    }
    return WindowsVersion::Nt52OrLater;
}

bool IsWindows9x(WindowsVersion version) {
    switch (version) {
        case WindowsVersion::Windows95:
        case WindowsVersion::Windows98:
        case WindowsVersion::WindowsMe:
            return true;
        default:
            return false;
    }
}

}  // namespace vantrel
