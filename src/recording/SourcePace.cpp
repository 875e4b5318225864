#include "SourcePace.h"

bool SourcePace::TooSlowNow(std::int64_t bytes, std::int64_t milliseconds, std::int64_t starved) {
    if (m_told || m_bytesPerSecond <= 0 || starved == 0 || milliseconds < kLeastMs) return false;
    // bytes / seconds < speed, without dividing.
    m_told = bytes * 1000 < m_bytesPerSecond * milliseconds;
    return m_told;
}
