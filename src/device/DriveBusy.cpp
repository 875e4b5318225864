#include "DriveBusy.h"

#include <atomic>

namespace {
std::atomic<int> g_busyCount{0};
std::atomic<std::uint64_t> g_jobsEnded{0};
}  // namespace

bool IsDriveBusy() {
    return g_busyCount.load() > 0;
}

DriveBusyScope::DriveBusyScope() {
    ++g_busyCount;
}

std::uint64_t DriveJobsEnded() {
    return g_jobsEnded.load();
}

DriveBusyScope::~DriveBusyScope() {
    ++g_jobsEnded;
    --g_busyCount;
}
