#include "LocalDateTime.h"

#include <cstdio>
#include <ctime>

namespace {
LocalDateTime FromTm(const std::tm& tm) {
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}
}  // namespace

LocalDateTime LocalDateTime::Now() {
    return FromEpoch(static_cast<std::int64_t>(std::time(nullptr)));
}

LocalDateTime LocalDateTime::FromEpoch(std::int64_t seconds) {
    const std::time_t time = static_cast<std::time_t>(seconds);
    std::tm tm{};
    if (localtime_r(&time, &tm) == nullptr) return {};
    return FromTm(tm);
}

std::optional<LocalDateTime> LocalDateTime::Parse(const std::string& text) {
    LocalDateTime value;
    int used = 0;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%n", &value.year, &value.month,
                    &value.day, &value.hour, &value.minute, &value.second, &used) != 6 ||
        used != static_cast<int>(text.size()))
        return std::nullopt;
    if (value.year < 1 || value.month < 1 || value.month > 12 || value.day < 1 ||
        value.day > DaysInMonth(value.year, value.month) || value.hour > 23 || value.minute > 59 ||
        value.second > 59)
        return std::nullopt;
    return value;
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
