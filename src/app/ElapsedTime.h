#pragma once

#include <cstdint>
#include <string>

// Elapsed time of a long operation, measured on MonotonicMilliseconds().
class ElapsedTime {
  public:
    // Starts counting now.
    ElapsedTime();
    // Counts from `startMs`, a reading of MonotonicMilliseconds().
    explicit ElapsedTime(std::int64_t startMs) : m_startMs(startMs) {}
    // Whole seconds since the start, rounded half to even.
    std::int64_t Seconds() const;
    // Seconds() as the status bar shows it.
    std::string Text() const { return Format(Seconds()); }
    // "hh:mm:ss", each part at least two digits (3725 -> "01:02:05", 360000 -> "100:00:00").
    static std::string Format(std::int64_t seconds);

  private:
    std::int64_t m_startMs;
};
