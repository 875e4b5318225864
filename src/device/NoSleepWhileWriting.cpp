#include "NoSleepWhileWriting.h"

#include <mutex>
#include <set>

#include "DriveBusy.h"

namespace {
// Workers of several drives write at once: all under g_mutex, which also
// keeps Begin and End of the inhibitor in order.
std::mutex g_mutex;
std::shared_ptr<SleepInhibitor> g_inhibitor;
std::string g_why;
std::set<std::string> g_writing;  // drives whose job has written
}  // namespace

namespace NoSleepWhileWriting {

void SetInhibitor(std::shared_ptr<SleepInhibitor> inhibitor, std::string why) {
    const std::lock_guard<std::mutex> lock(g_mutex);
    if (g_inhibitor && !g_writing.empty()) g_inhibitor->End();
    g_writing.clear();
    g_inhibitor = std::move(inhibitor);
    g_why = std::move(why);
}

void NoteDiscChange(const std::string& drive) {
    // A command outside a job has no end to release at.
    if (!IsDriveBusy(drive)) return;
    const std::lock_guard<std::mutex> lock(g_mutex);
    if (!g_inhibitor || !g_writing.insert(drive).second || g_writing.size() > 1) return;
    g_inhibitor->Begin(g_why);
}

void NoteJobEnded(const std::string& drive) {
    const std::lock_guard<std::mutex> lock(g_mutex);
    if (g_writing.erase(drive) == 0 || !g_writing.empty() || !g_inhibitor) return;
    g_inhibitor->End();
}

bool Held() {
    const std::lock_guard<std::mutex> lock(g_mutex);
    return g_inhibitor && !g_writing.empty();
}

}  // namespace NoSleepWhileWriting
