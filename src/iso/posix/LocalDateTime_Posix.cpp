// Platform part of LocalDateTime: the C library's time zone rules (TZ).
#include <ctime>

#include "LocalDateTime.h"

namespace {
LocalDateTime FromTm(const std::tm& tm) {
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}
}  // namespace

LocalDateTime LocalDateTime::FromEpoch(std::int64_t seconds) {
    const std::time_t time = static_cast<std::time_t>(seconds);
    std::tm tm{};
    if (localtime_r(&time, &tm) == nullptr) return {};
    return FromTm(tm);
}

int LocalDateTime::UtcOffsetQuarterHours() const {
    if (IsZero()) return 0;
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    // The wall time read as UTC, corrected by the offset in force then. Not
    // mktime: glibc re-reads the zone file on every mktime call, which costs a
    // file system call per directory record.
    const std::time_t asUtc = ::timegm(&tm);
    std::tm local{};
    std::time_t instant = asUtc;
    for (int pass = 0; pass < 2; ++pass) {
        if (localtime_r(&instant, &local) == nullptr) return 0;
        instant = asUtc - local.tm_gmtoff;
    }
    if (localtime_r(&instant, &local) == nullptr) return 0;
    // ECMA-119 allows -48..+52 quarter hours.
    const long quarters = local.tm_gmtoff / (15 * 60);
    return quarters < -48 ? -48 : (quarters > 52 ? 52 : static_cast<int>(quarters));
}
