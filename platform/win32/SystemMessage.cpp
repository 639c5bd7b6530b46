#include "platform/win32/SystemMessage.h"

#include <string_view>

namespace vantrel {

std::string SystemMessage(DWORD error) {
    char buffer[1024];
    const DWORD length =
        ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                         0, buffer, static_cast<DWORD>(sizeof buffer), nullptr);
    std::string_view text(buffer, length);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.remove_suffix(1);
    if (text.empty())
        return "Error " + std::to_string(error);
    return std::string(text);
}

}  // namespace vantrel
