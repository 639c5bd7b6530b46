#pragma once

#include <cstdint>
#include <string>

namespace vantrel {

// A file time (UTC, 100-nanosecond steps since 1601) as the user reads it: the local date in
// the user's short date format, a blank and the local time in the user's long time format. ""
// for a time the system cannot convert.
std::string LocalDateTimeText(uint64_t fileTime);

}  // namespace vantrel
