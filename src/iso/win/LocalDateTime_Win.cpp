// Platform part of LocalDateTime: Windows, through the system's time zone
// rules (daylight saving of the year in question included).
#include <windows.h>

#include "LocalDateTime.h"

namespace {
SYSTEMTIME SystemTimeOf(const LocalDateTime& value) {
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(value.year);
    time.wMonth = static_cast<WORD>(value.month);
    time.wDay = static_cast<WORD>(value.day);
    time.wHour = static_cast<WORD>(value.hour);
    time.wMinute = static_cast<WORD>(value.minute);
    time.wSecond = static_cast<WORD>(value.second);
    return time;
}

std::int64_t Ticks(const SYSTEMTIME& time) {
    FILETIME file{};
    if (!::SystemTimeToFileTime(&time, &file)) return 0;
    return (static_cast<std::int64_t>(file.dwHighDateTime) << 32) | file.dwLowDateTime;
}
}  // namespace

LocalDateTime LocalDateTime::FromEpoch(std::int64_t seconds) {
    const std::int64_t ticks = (seconds + 11644473600LL) * 10000000;
    if (ticks < 0) return {};
    FILETIME file{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    SYSTEMTIME utc{}, local{};
    if (!::FileTimeToSystemTime(&file, &utc) ||
        !::SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local))
        return {};
    return {local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond};
}

int LocalDateTime::UtcOffsetQuarterHours() const {
    if (IsZero()) return 0;
    const SYSTEMTIME local = SystemTimeOf(*this);
    SYSTEMTIME utc{};
    if (!::TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc)) return 0;
    const std::int64_t quarters = (Ticks(local) - Ticks(utc)) / (10000000LL * 60 * 15);
    // ECMA-119 allows -48..+52 quarter hours.
    return quarters < -48 ? -48 : (quarters > 52 ? 52 : static_cast<int>(quarters));
}
