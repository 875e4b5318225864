#include "WindowThreadCalls.h"

// The posted call refers to `call` on the worker's stack. That is safe
// because the worker waits here until the call has run (m_done) or the
// window gave up on it (m_abandoned): Abandon runs on the window's thread,
// which then never runs the calls still queued for the window.
void WindowThreadCalls::Run(const std::function<void()>& call) {
    std::unique_lock<std::mutex> lock(m_mutex);
    if (m_abandoned) return;
    m_done = false;
    m_post([this, &call] {
        call();
        const std::lock_guard<std::mutex> done(m_mutex);
        m_done = true;
        m_ran.notify_all();
    });
    m_waiting = true;
    m_ran.wait(lock, [this] { return m_done || m_abandoned; });
    m_waiting = false;
}

void WindowThreadCalls::Abandon() {
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_abandoned = true;
    m_ran.notify_all();
}

bool WindowThreadCalls::Waiting() const {
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_waiting;
}
