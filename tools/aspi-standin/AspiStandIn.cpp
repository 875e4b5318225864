// A stand-in ASPI layer over the virtual drives: one host adapter whose
// targets 0, 1 ... are the virtual drives of MAPLE_VIRTUAL_DRIVES. Execute
// requests complete on a thread of the layer, after the delay in
// MAPLE_ASPI_STANDIN_DELAY_MS (milliseconds, default 0), and signal the
// request's completion event, as a real layer does.
#include <windows.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <set>
#include <thread>

#include "AspiRequests.h"
#include "SystemAccess.h"
#include "TransportFactory.h"
#include "clsEmulatedDrive.h"

namespace AR = AspiRequests;

namespace {
constexpr std::uint8_t kNoDevice = 0x82, kInvalidRequest = 0x80, kError = 0x04;

template <typename T>
T Read(const std::uint8_t* at) {
    T value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

class StandIn {
  public:
    StandIn() : m_drives(VirtualDrivesFromEnvironment()) {
        std::thread([this] { Work(); }).detach();
    }

    DWORD Support() { return (AR::kCompleted << 8) | 1; }

    DWORD Send(std::uint8_t* request) {
        switch (request[AR::kCommand]) {
            case AR::kGetDeviceType:
                return DeviceType(request);
            case AR::kExecute:
                return Queue(request);
            case AR::kAbort:
                return Abort(request);
        }
        return request[AR::kStatus] = kInvalidRequest;
    }

  private:
    bool Known(const std::uint8_t* request) {
        return request[AR::kAdapter] == 0 && request[AR::kLun] == 0 &&
               request[AR::kTarget] < m_drives.DriveCount();
    }

    DWORD DeviceType(std::uint8_t* request) {
        if (!Known(request)) return request[AR::kStatus] = kNoDevice;
        request[AR::kDeviceType] = AR::kCdRom;
        return request[AR::kStatus] = AR::kCompleted;
    }

    DWORD Queue(std::uint8_t* request) {
        if (!Known(request)) return request[AR::kStatus] = kNoDevice;
        std::atomic_ref<std::uint8_t>(request[AR::kStatus]).store(AR::kPending);
        {
            std::lock_guard lock(m_mutex);
            m_queue.push_back(request);
        }
        m_wake.notify_all();
        return AR::kPending;
    }

    DWORD Abort(std::uint8_t* request) {
        std::lock_guard lock(m_mutex);
        m_aborted.insert(Read<std::uint8_t*>(request + AR::kToAbort));
        return request[AR::kStatus] = AR::kCompleted;
    }

    void Work() {
        for (;;) {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return !m_queue.empty(); });
            std::uint8_t* request = m_queue.front();
            m_queue.pop_front();
            lock.unlock();
            Delay(request);
            lock.lock();
            const bool aborted = m_aborted.erase(request) > 0;
            lock.unlock();
            Complete(request, aborted);
        }
    }

    // Waits out the configured delay, or less when the request is aborted.
    void Delay(std::uint8_t* request) {
        const int delay =
            std::atoi(SystemAccess::Environment("MAPLE_ASPI_STANDIN_DELAY_MS").c_str());
        std::unique_lock lock(m_mutex);
        m_wake.wait_for(lock, std::chrono::milliseconds(delay),
                        [&] { return m_aborted.count(request) > 0; });
    }

    void Complete(std::uint8_t* request, bool aborted) {
        std::uint8_t status = AR::kAborted;
        if (!aborted) {
            std::int32_t timeout = 0;
            const std::string drive = m_drives.DriveHandle(request[AR::kTarget] + 1);
            const std::int32_t result =
                m_drives.ExecCMD(drive, request + AR::kCdb, request[AR::kCdbLength],
                                 request[AR::kFlags] == AR::kDataOut ? 1 : 0,
                                 Read<void*>(request + AR::kBufferPointer),
                                 Read<std::int32_t>(request + AR::kBufferLength), timeout);
            // Statuses the drive never sends stand for a failure of the layer.
            status = result == 24 || result == 255 ? kError : AR::kCompleted;
            request[AR::kTargetStatus] =
                status == AR::kCompleted ? static_cast<std::uint8_t>(result) : 0;
            std::uint8_t* sense = request + AR::kSense;
            std::memset(sense, 0, AR::kSenseBytes);
            sense[0] = 0x70;
            sense[2] = m_drives.LastSK();
            sense[7] = 10;
            sense[12] = m_drives.LastASC();
            sense[13] = m_drives.LastASCQ();
        }
        const HANDLE event = Read<HANDLE>(request + AR::kCompletionEvent);
        std::atomic_ref<std::uint8_t>(request[AR::kStatus]).store(status);
        if (event != nullptr) ::SetEvent(event);
    }

    clsEmulatedDrive m_drives;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<std::uint8_t*> m_queue;
    std::set<std::uint8_t*> m_aborted;
};

// The layer lives until the process ends and is never unloaded: its thread
// may still wait inside it, and the drives save their state as they go.
StandIn& Layer() {
    static StandIn* layer = [] {
        HMODULE self = nullptr;
        ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                             reinterpret_cast<LPCWSTR>(&Layer), &self);
        return new StandIn;
    }();
    return *layer;
}
}  // namespace

extern "C" __declspec(dllexport) DWORD __cdecl GetASPI32SupportInfo() {
    return Layer().Support();
}

extern "C" __declspec(dllexport) DWORD __cdecl SendASPI32Command(void* request) {
    return Layer().Send(static_cast<std::uint8_t*>(request));
}
