#include "clsASPI.h"

#include <windows.h>
// clang-format off
#include <ntddscsi.h>
// clang-format on

#include <algorithm>
#include <atomic>
#include <cstring>

#include "AspiRequests.h"
#include "ScsiStatus.h"
#include "SenseData.h"
#include "Sleeper.h"

namespace AR = AspiRequests;

namespace {
constexpr std::uint32_t kReadWrite = 0xC0000000, kReadOnly = 0x80000000;
constexpr std::uint32_t kAddressCode = 0x00041018;  // IOCTL_SCSI_GET_ADDRESS
static_assert(kAddressCode == IOCTL_SCSI_GET_ADDRESS);

// Request blocks live in 8-byte aligned storage, as the layer's pointers do.
template <std::size_t N>
struct alignas(8) Block {
    std::uint8_t bytes[N] = {};
    std::uint8_t& operator[](std::size_t at) { return bytes[at]; }
};

// The status byte is written by the layer's own thread.
std::uint8_t StatusOf(std::uint8_t* request) {
    return std::atomic_ref<std::uint8_t>(request[AR::kStatus]).load();
}

void PutWord(std::uint8_t* at, std::uint64_t value, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}
}  // namespace

clsASPI::clsASPI(std::unique_ptr<SptiSystem> system, const std::string& library)
    : m_system(std::move(system)) {
    m_loaded = m_bridge.DllLoad(library);
    if (m_loaded) ScanDrives();
}

clsASPI::~clsASPI() = default;

bool clsASPI::Send(void* request) {
    const std::lock_guard<std::mutex> lock(m_bridgeMutex);
    try {
        m_bridge.CallFunc("SendASPI32Command", {reinterpret_cast<std::intptr_t>(request)});
        return true;
    } catch (const CdeclError&) {
        return false;
    }
}

std::uint32_t clsASPI::SupportInfo() {
    try {
        return m_bridge.CallFunc("GetASPI32SupportInfo", {});
    } catch (const CdeclError&) {
        return 0;
    }
}

bool clsASPI::Initialized() {
    return m_loaded && ((SupportInfo() >> 8) & 0xFF) == AR::kCompleted;
}

void clsASPI::ScanDrives() {
    const unsigned adapters = SupportInfo() & 0xFF;
    for (unsigned adapter = 0; adapter < adapters; ++adapter)
        for (std::uint8_t target = 0; target < 8; ++target)
            for (std::uint8_t lun = 0; lun < 8; ++lun) {
                Block<AR::kDeviceTypeBytes> request;
                request[AR::kCommand] = AR::kGetDeviceType;
                request[AR::kAdapter] = static_cast<std::uint8_t>(adapter);
                request[AR::kTarget] = target;
                request[AR::kLun] = lun;
                if (Send(request.bytes) && request[AR::kStatus] == AR::kCompleted &&
                    request[AR::kDeviceType] == AR::kCdRom)
                    m_drives.push_back({static_cast<char>(adapter), static_cast<char>(target),
                                        static_cast<char>(lun)});
            }
}

std::string clsASPI::DriveHandle(std::int16_t index) const {
    return index >= 1 && index <= DriveCount() ? m_drives[static_cast<std::size_t>(index - 1)]
                                               : std::string();
}

std::uint8_t clsASPI::Code(const std::string& drive, std::size_t at) {
    return at < drive.size() ? static_cast<std::uint8_t>(drive[at]) : 0;
}

std::string clsASPI::DriveChar(const std::string& drive) {
    const std::uint32_t access = m_system->NtVersion5OrLater() ? kReadWrite : kReadOnly;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        if (m_system->DriveType(letter) != 5) continue;
        const std::intptr_t handle = m_system->Open(std::string("\\\\.\\") + letter + ":", access);
        if (handle == SptiSystem::kInvalidHandle) continue;
        SCSI_ADDRESS address{};
        address.Length = sizeof address;
        const bool known =
            m_system->Control(handle, kAddressCode, &address, sizeof address, sizeof address);
        m_system->Close(handle);
        if (known && address.PortNumber == HostAdapter(drive) &&
            address.TargetId == TargetID(drive) && address.Lun == LUN(drive))
            return std::string(1, letter);
    }
    return {};
}

std::int32_t clsASPI::ExecCMD(const std::string& drive, const std::uint8_t* cdb,
                              std::uint8_t cdbLen, std::int32_t direction, void* buffer,
                              std::int32_t bufferLen, std::int32_t& timeout) {
    // Unnamed: a named event would be shared with every other process that
    // opens the same name.
    const HANDLE event = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (event == nullptr) return ScsiStatus::kServiceFailure;
    ::ResetEvent(event);
    Block<AR::kExecuteBytes> request;
    request[AR::kCommand] = AR::kExecute;
    request[AR::kAdapter] = HostAdapter(drive);
    request[AR::kFlags] = direction == 0 ? AR::kDataIn : AR::kDataOut;
    request[AR::kTarget] = TargetID(drive);
    request[AR::kLun] = LUN(drive);
    PutWord(&request[AR::kBufferLength], static_cast<std::uint32_t>(bufferLen), 4);
    PutWord(&request[AR::kBufferPointer], reinterpret_cast<std::uintptr_t>(buffer), AR::kPointer);
    request[AR::kSenseLength] = AR::kSenseBytes;
    request[AR::kCdbLength] = cdbLen;
    PutWord(&request[AR::kCompletionEvent], reinterpret_cast<std::uintptr_t>(event), AR::kPointer);
    std::memcpy(&request[AR::kCdb], cdb, std::min<std::size_t>(cdbLen, 16));
    const std::lock_guard<std::mutex> lock(m_states.CommandLock(drive));
    const bool answered = Send(request.bytes) && WaitFor(request.bytes, event, timeout);
    m_states.SetSense(drive, DecodeSense(&request[AR::kSense], AR::kSenseBytes));
    ::CloseHandle(event);
    // An adapter-level error with target status 0 is no success.
    return answered && request[AR::kStatus] == AR::kCompleted ? request[AR::kTargetStatus]
                                                              : ScsiStatus::kServiceFailure;
}

bool clsASPI::WaitFor(std::uint8_t* request, void* event, std::int32_t timeout) {
    if (timeout == 0) {
        while (StatusOf(request) == AR::kPending) ::WaitForSingleObject(event, 10);
        return true;
    }
    SleepMilliseconds(30);
    if (StatusOf(request) != AR::kPending) return true;
    const DWORD limit = static_cast<DWORD>(std::min<std::int64_t>(
        static_cast<std::int64_t>(timeout) * 1000, static_cast<std::int64_t>(INFINITE - 1)));
    if (::WaitForSingleObject(event, limit) != WAIT_TIMEOUT || StatusOf(request) != AR::kPending)
        return true;
    // The layer still holds the request and the caller's buffer: stop it and
    // wait until it lets go.
    Block<AR::kAbortBytes> abort;
    abort[AR::kCommand] = AR::kAbort;
    abort[AR::kAdapter] = request[AR::kAdapter];
    PutWord(&abort[AR::kToAbort], reinterpret_cast<std::uintptr_t>(request), AR::kPointer);
    Send(abort.bytes);
    while (StatusOf(request) == AR::kPending) ::WaitForSingleObject(event, 100);
    return false;
}
