#pragma once

#include <cstdint>
#include <optional>
#include <string>

// A wall-clock date and time of this machine's time zone, to the second.
// The all-zero value is the "zero date" (unknown time).
struct LocalDateTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;

    bool IsZero() const { return year == 0 && month == 0 && day == 0; }
    bool operator==(const LocalDateTime&) const = default;

    // The current local time.
    static LocalDateTime Now();
    // Local time of a POSIX time stamp.
    static LocalDateTime FromEpoch(std::int64_t seconds);
    // "YYYY-MM-DD hh:mm:ss" (year 1..9999, a real calendar date); nullopt otherwise.
    static std::optional<LocalDateTime> Parse(const std::string& text);

    // Offset from UTC in force at this local time, in 15-minute units
    // (daylight saving honoured); 0 for the zero date.
    int UtcOffsetQuarterHours() const;
};
