#pragma once

#include <cstdint>

namespace vantrel {

namespace platformid {
constexpr uint32_t kWin32s = 0;
constexpr uint32_t kWindows = 1;  // the 95/98/Me family
constexpr uint32_t kNt = 2;
}  // namespace platformid

// A small number classifying the Windows version: NT 3.x 5, 4.x 6, 5.0 7, 5.1 9, anything
// else 10; 95 (4.0) 1, 98 (4.10) 3, Me (4.90) 8, any other 9x 10. Codes 2 and 4 never occur.
int WindowsVersionCode(uint32_t platformId, uint32_t major, uint32_t minor);

// True for the codes of the 95/98/Me family (1 to 4 and 8).
bool IsWindows9xCode(int code);

}  // namespace vantrel
