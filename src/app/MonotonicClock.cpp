#include "MonotonicClock.h"

#include <chrono>

namespace {
std::function<std::int64_t()>& Handler() {
    static std::function<std::int64_t()> handler;
    return handler;
}
}  // namespace

std::int64_t MonotonicMilliseconds() {
    if (Handler()) return Handler()();
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void SetClockHandler(std::function<std::int64_t()> handler) {
    Handler() = std::move(handler);
}
