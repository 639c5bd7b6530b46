#include "platform/win32/AnsiText.h"

#include <windows.h>

#include <climits>
#include <stdexcept>

namespace vantrel {

namespace {

int CheckedLength(size_t length) {
    if (length > static_cast<size_t>(INT_MAX))
        throw std::length_error("text too long to convert");
    return static_cast<int>(length);
}

// Plain ASCII is the same in every ANSI code page: it is copied without asking the system, which
// a scan would otherwise do for every name and text it reads.
template <typename Char>
bool IsPlainAscii(std::basic_string_view<Char> text) {
    for (const Char c : text) {
        if (static_cast<unsigned int>(c) >= 0x80)
            return false;
    }
    return true;
}

}  // namespace

AnsiText ToAnsi(std::wstring_view wide) {
    AnsiText result;
    if (wide.empty())
        return result;
    if (IsPlainAscii(wide)) {
        result.text.resize(wide.size());
        for (size_t i = 0; i < wide.size(); ++i)
            result.text[i] = static_cast<char>(wide[i]);
        return result;
    }
    const int wideLength = CheckedLength(wide.size());
    // A UTF-8 ANSI code page holds every character and refuses the loss-reporting arguments.
    const bool utf8 = ::GetACP() == CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* usedDefaultOut = utf8 ? nullptr : &usedDefault;
    const int needed = ::WideCharToMultiByte(CP_ACP, flags, wide.data(), wideLength, nullptr, 0,
                                             nullptr, usedDefaultOut);
    if (needed <= 0) {
        result.exact = false;
        return result;
    }
    result.text.resize(static_cast<size_t>(needed));
    const int written = ::WideCharToMultiByte(CP_ACP, flags, wide.data(), wideLength,
                                              result.text.data(), needed, nullptr, usedDefaultOut);
    result.text.resize(written > 0 ? static_cast<size_t>(written) : 0);
    result.exact = written > 0 && usedDefault == FALSE;
    return result;
}

std::wstring ToWide(std::string_view ansi) {
    std::wstring result;
    if (ansi.empty())
        return result;
    if (IsPlainAscii(ansi)) {
        result.resize(ansi.size());
        for (size_t i = 0; i < ansi.size(); ++i)
            result[i] = static_cast<wchar_t>(ansi[i]);
        return result;
    }
    const int ansiLength = CheckedLength(ansi.size());
    const int needed = ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), ansiLength, nullptr, 0);
    // Never hand back "" for a non-empty name: "" means the root key or the default value.
    if (needed <= 0)
        throw std::invalid_argument("text not convertible from the ANSI code page");
    result.resize(static_cast<size_t>(needed));
    const int written =
        ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), ansiLength, result.data(), needed);
    if (written <= 0)
        throw std::invalid_argument("text not convertible from the ANSI code page");
    result.resize(static_cast<size_t>(written));
    return result;
}

}  // namespace vantrel
