#include "platform/WindowsVersion.h"

namespace vantrel {

int WindowsVersionCode(uint32_t platformId, uint32_t major, uint32_t minor) {
    if (platformId == platformid::kNt) {
        if (major == 3)
            return 5;
        if (major == 4)
            return 6;
        if (major == 5 && minor == 0)
            return 7;
        if (major == 5 && minor == 1)
            return 9;
        return 10;
    }
    if (platformId == platformid::kWindows && major == 4) {
        if (minor == 0)
            return 1;
        if (minor == 10)
            return 3;
        if (minor == 90)
            return 8;
    }
    return 10;
}

bool IsWindows9xCode(int code) {
    return code == 1 || code == 2 || code == 3 || code == 4 || code == 8;
}

}  // namespace vantrel
