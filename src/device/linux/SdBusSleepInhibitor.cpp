#include "SdBusSleepInhibitor.h"

#include <fcntl.h>
#include <systemd/sd-bus.h>
#include <unistd.h>

namespace {
constexpr const char* kProgram = "MAPLE CD/DVD Writer";
// The portal's flags: suspend (4) and idle (8).
constexpr std::uint32_t kSuspendAndIdle = 4 | 8;
// A service that hangs must not hold the recording up for long.
constexpr std::uint64_t kCallTimeoutUs = 3'000'000;

// A reply, freed with the object.
struct Reply {
    sd_bus_message* message = nullptr;
    ~Reply() { sd_bus_message_unref(message); }
};
}  // namespace

SdBusSleepInhibitor::~SdBusSleepInhibitor() {
    End();
}

void SdBusSleepInhibitor::Begin(const std::string& why) {
    const std::lock_guard<std::mutex> lock(m_mutex);
    Release();
    if (!AskPortal(why)) AskLogind(why);
}

void SdBusSleepInhibitor::End() {
    const std::lock_guard<std::mutex> lock(m_mutex);
    Release();
}

bool SdBusSleepInhibitor::AskPortal(const std::string& why) {
    if (sd_bus_open_user(&m_session) < 0) {
        m_session = nullptr;
        return false;
    }
    sd_bus_set_method_call_timeout(m_session, kCallTimeoutUs);
    Reply reply;
    const char* handle = nullptr;
    if (sd_bus_call_method(m_session, "org.freedesktop.portal.Desktop",
                           "/org/freedesktop/portal/desktop", "org.freedesktop.portal.Inhibit",
                           "Inhibit", nullptr, &reply.message, "sua{sv}", "", kSuspendAndIdle, 1,
                           "reason", "s", why.c_str()) >= 0 &&
        sd_bus_message_read(reply.message, "o", &handle) >= 0) {
        m_request = handle;
        return true;
    }
    m_session = sd_bus_flush_close_unref(m_session);
    return false;
}

bool SdBusSleepInhibitor::AskLogind(const std::string& why) {
    sd_bus* system = nullptr;
    if (sd_bus_open_system(&system) < 0) return false;
    sd_bus_set_method_call_timeout(system, kCallTimeoutUs);
    Reply reply;
    int descriptor = -1;
    if (sd_bus_call_method(system, "org.freedesktop.login1", "/org/freedesktop/login1",
                           "org.freedesktop.login1.Manager", "Inhibit", nullptr, &reply.message,
                           "ssss", "sleep:idle", kProgram, why.c_str(), "block") >= 0 &&
        sd_bus_message_read(reply.message, "h", &descriptor) >= 0)
        // The reply owns its descriptor: keep a copy of our own.
        m_descriptor = fcntl(descriptor, F_DUPFD_CLOEXEC, 3);
    sd_bus_flush_close_unref(system);
    return m_descriptor >= 0;
}

void SdBusSleepInhibitor::Release() {
    if (m_descriptor >= 0) close(m_descriptor);
    m_descriptor = -1;
    if (m_session != nullptr && !m_request.empty())
        sd_bus_call_method(m_session, "org.freedesktop.portal.Desktop", m_request.c_str(),
                           "org.freedesktop.portal.Request", "Close", nullptr, nullptr, "");
    m_request.clear();
    if (m_session != nullptr) m_session = sd_bus_flush_close_unref(m_session);
}

std::unique_ptr<SleepInhibitor> MakeSystemSleepInhibitor() {
    return std::make_unique<SdBusSleepInhibitor>();
}
