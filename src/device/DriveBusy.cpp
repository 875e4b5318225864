#include "DriveBusy.h"

#include <map>
#include <mutex>

#include "NoSleepWhileWriting.h"

namespace {
struct DriveJobs {
    int running = 0;
    std::uint64_t ended = 0;
};
// Set by the engines' workers, read by the windows' timers: under g_mutex.
std::mutex g_mutex;
std::map<std::string, DriveJobs> g_jobs;
}  // namespace

bool IsDriveBusy(const std::string& drive) {
    const std::lock_guard<std::mutex> lock(g_mutex);
    const auto found = g_jobs.find(drive);
    return found != g_jobs.end() && found->second.running > 0;
}

bool AnyDriveBusy() {
    const std::lock_guard<std::mutex> lock(g_mutex);
    for (const auto& [drive, jobs] : g_jobs)
        if (jobs.running > 0) return true;
    return false;
}

std::uint64_t DriveJobsEnded(const std::string& drive) {
    const std::lock_guard<std::mutex> lock(g_mutex);
    const auto found = g_jobs.find(drive);
    return found == g_jobs.end() ? 0 : found->second.ended;
}

DriveBusyScope::DriveBusyScope(std::string drive) : m_drive(std::move(drive)) {
    const std::lock_guard<std::mutex> lock(g_mutex);
    ++g_jobs[m_drive].running;
}

DriveBusyScope::~DriveBusyScope() {
    {
        const std::lock_guard<std::mutex> lock(g_mutex);
        DriveJobs& jobs = g_jobs[m_drive];
        ++jobs.ended;
        if (--jobs.running > 0) return;
    }
    NoSleepWhileWriting::NoteJobEnded(m_drive);
}
