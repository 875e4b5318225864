#include "DriveBusy.h"

#include <atomic>

namespace {
std::atomic<int> g_busyCount{0};
}

bool IsDriveBusy() {
    return g_busyCount.load() > 0;
}

DriveBusyScope::DriveBusyScope() {
    ++g_busyCount;
}

DriveBusyScope::~DriveBusyScope() {
    --g_busyCount;
}
