#include "MediaChanges.h"

#include <map>
#include <mutex>

#include "TransportSlot.h"

namespace {
std::mutex g_mutex;
std::map<std::string, std::uint64_t> g_seen;
}  // namespace

namespace MediaChanges {

void Note(const std::string& drive) {
    const std::lock_guard<std::mutex> lock(g_mutex);
    ++g_seen[drive];
}

MediaChangeMark Mark(const std::string& drive) {
    MediaChangeMark mark;
    {
        const std::lock_guard<std::mutex> lock(g_mutex);
        if (const auto found = g_seen.find(drive); found != g_seen.end()) mark.seen = found->second;
    }
    if (auto* system = dynamic_cast<SystemMediaChanges*>(Transport()))
        mark.system = system->LastMediaChange(drive);
    return mark;
}

}  // namespace MediaChanges
