#include "LocalDateTime.h"

#include <cstdio>
#include <ctime>

namespace {
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
