#pragma once

#include <cstdint>
#include <functional>

// Milliseconds of a monotonic clock (elapsed times never jump at midnight);
// tests replace it to control elapsed-time texts.
std::int64_t MonotonicMilliseconds();
// Replaces the real clock; an empty function restores it.
void SetClockHandler(std::function<std::int64_t()> handler);
