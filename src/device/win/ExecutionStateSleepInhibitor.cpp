// Windows: SetThreadExecutionState keeps the system awake for as long as the
// thread that set it lives or until it clears it. Begin and End come from
// different threads, so a thread of its own holds the state.
#include <windows.h>

#include <condition_variable>
#include <mutex>
#include <thread>

#include "SleepInhibitor.h"

namespace {
class ExecutionStateSleepInhibitor : public SleepInhibitor {
  public:
    ~ExecutionStateSleepInhibitor() override { End(); }

    void Begin(const std::string& /*why*/) override {
        End();
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_holding = true;
        m_holder = std::thread([this] { Hold(); });
    }

    void End() override {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_holding = false;
        }
        m_changed.notify_all();
        if (m_holder.joinable()) m_holder.join();
    }

  private:
    void Hold() {
        ::SetThreadExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED);
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait(lock, [this] { return !m_holding; });
        ::SetThreadExecutionState(ES_CONTINUOUS);
    }

    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_holding = false;  // under m_mutex
    std::thread m_holder;
};
}  // namespace

std::unique_ptr<SleepInhibitor> MakeSystemSleepInhibitor() {
    return std::make_unique<ExecutionStateSleepInhibitor>();
}
