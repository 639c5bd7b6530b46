#pragma once

#include <cstdint>

namespace vantrel {

namespace platformid {
constexpr uint32_t kWin32s = 0;
constexpr uint32_t kWindows = 1;  // the 95/98/Me family
constexpr uint32_t kNt = 2;
}  // namespace platformid

// The Windows versions the program tells apart, numbered by the version code that classifies
// them (codes 2 and 4 never occur).
enum class WindowsVersion : int {
    Windows95 = 1,
    Windows98 = 3,
    Nt3 = 5,
    Nt4 = 6,
    Windows2000 = 7,
    WindowsMe = 8,
    WindowsXp = 9,
    // NT 5.2 and every later version, and any version the classification does not know.
    Nt52OrLater = 10,
};

// Classifies a version record: NT 3.x, 4.x, 5.0 and 5.1 by name, any other NT as 5.2 or
// later; 95 (4.0), 98 (4.10) and Me (4.90), any other 9x as 5.2 or later.
WindowsVersion WindowsVersionCode(uint32_t platformId, uint32_t major, uint32_t minor);

// True for the 95/98/Me family.
bool IsWindows9x(WindowsVersion version);

}  // namespace vantrel
