#include "platform/win32/LocalTimeText.h"

#include <windows.h>

namespace vantrel {

std::string LocalDateTimeText(uint64_t fileTime) {
    const FILETIME utc{static_cast<DWORD>(fileTime & 0xFFFFFFFFu),
                       static_cast<DWORD>(fileTime >> 32)};
    FILETIME local{};
    SYSTEMTIME time{};
    if (!::FileTimeToLocalFileTime(&utc, &local) || !::FileTimeToSystemTime(&local, &time))
        return "";
    char date[128] = {};
    char clock[128] = {};
    if (::GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, date,
                         static_cast<int>(sizeof date)) == 0 ||
        ::GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &time, nullptr, clock,
                         static_cast<int>(sizeof clock)) == 0) {
        return "";
    }
    return std::string(date) + " " + clock;
}

}  // namespace vantrel
