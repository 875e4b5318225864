#pragma once

#include <cstdint>

// Whether the source of a streamed recording keeps up with the chosen write
// speed. A drive left without data stops (or, with underrun protection,
// pauses and loses speed), so the user is told once: when the writing loop
// has had to wait for the source and the source's average rate since the
// writing began is below the speed.
class SourcePace {
  public:
    // `bytesPerSecond`: the chosen speed; 0 when unknown (nothing is told then).
    explicit SourcePace(std::int64_t bytesPerSecond) : m_bytesPerSecond(bytesPerSecond) {}

    // True the first time the source is found too slow: `bytes` came from it
    // in `milliseconds` since the writing began, and the loop waited
    // `starved` times for it. Averages over less than kLeastMs are not judged.
    bool TooSlowNow(std::int64_t bytes, std::int64_t milliseconds, std::int64_t starved);

    static constexpr std::int64_t kLeastMs = 2000;

  private:
    std::int64_t m_bytesPerSecond;
    bool m_told = false;
};
