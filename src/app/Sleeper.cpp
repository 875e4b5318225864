#include "Sleeper.h"

#include <chrono>
#include <thread>

namespace {
std::function<void(int)>& Handler() {
    static std::function<void(int)> handler;
    return handler;
}
}  // namespace

void SleepMilliseconds(int milliseconds) {
    if (Handler()) {
        Handler()(milliseconds);
        return;
    }
    if (milliseconds > 0) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void SetSleepHandler(std::function<void(int)> handler) {
    Handler() = std::move(handler);
}
