#include "platform/win32/WriteRegistryString.h"

#include <windows.h>

#include <string>

#include "platform/RegistryAccess.h"
#include "platform/win32/AnsiText.h"
#include "platform/win32/UniqueHandle.h"

namespace vantrel {

bool WriteRegistryString(std::string_view keyPath, std::string_view valueName,
                         std::string_view text) {
    unique_hkey key;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, ToWide(keyPath).c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                          nullptr, key.put(), nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const std::wstring wide = ToWide(text);
    const auto bytes = static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t));
    if (::RegSetValueExW(key.get(), ToWide(valueName).c_str(), 0, REG_SZ,
                         reinterpret_cast<const BYTE*>(wide.c_str()), bytes) != ERROR_SUCCESS) {
        throw RegistryError("Failed to set data for '" + std::string(valueName) + "'");
    }
    return true;
}

}  // namespace vantrel
