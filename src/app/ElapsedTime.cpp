#include "ElapsedTime.h"

#include <cmath>
#include <cstdio>

#include "MonotonicClock.h"

ElapsedTime::ElapsedTime() : m_startMs(MonotonicMilliseconds()) {}

std::int64_t ElapsedTime::Seconds() const {
    const double seconds = static_cast<double>(MonotonicMilliseconds() - m_startMs) / 1000.0;
    return static_cast<std::int64_t>(std::nearbyint(seconds));
}

std::string ElapsedTime::Format(std::int64_t seconds) {
    if (seconds < 0) seconds = 0;
    char text[32];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                  static_cast<long long>((seconds / 60) % 60),
                  static_cast<long long>(seconds % 60));
    return text;
}
