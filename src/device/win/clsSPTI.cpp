#include "clsSPTI.h"

// windows.h first: ntddscsi.h builds on its types.
#include <windows.h>
// clang-format off
#include <ntddscsi.h>
// clang-format on

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "ScsiStatus.h"
#include "SenseData.h"
#include "Sleeper.h"

namespace {
constexpr unsigned kCdRom = 5;
constexpr std::uint32_t kReadWrite = 0xC0000000, kReadOnly = 0x80000000;
constexpr std::int32_t kNoPracticalLimit = 3600000;

// The request the system reads and fills in: its pass-through structure,
// then the sense buffer the structure points at (SenseInfoOffset). With the
// 32-bit structure this is the 80-byte block header 44, filler 4, sense 32
// at 48; on 64-bit Windows the data pointer widens to 8 aligned bytes, so the
// header is 56 bytes, the sense buffer lies at 60 and the block is 96.
struct PassThroughRequest {
    SCSI_PASS_THROUGH_DIRECT header;
    ULONG filler;
    UCHAR sense[32];
};

constexpr std::uint32_t ControlCode(std::uint32_t deviceType, std::uint32_t function,
                                    std::uint32_t method, std::uint32_t access) {
    return (deviceType << 16) | (access << 14) | (function << 2) | method;
}

std::string DevicePath(char letter) {
    return std::string("\\\\.\\") + letter + ":";
}

// 0 to 25 for a drive letter, -1 for anything else.
int LetterIndex(const std::string& drive) {
    const char letter = drive.empty() ? '\0' : static_cast<char>(std::toupper(drive.front()));
    return letter >= 'A' && letter <= 'Z' ? letter - 'A' : -1;
}

// The CD-ROM driver's exclusive access (Windows Vista and later; not in
// mingw-w64's headers): one request type, and with a lock the name the
// driver reports to other programs (letters, digits and spaces only).
constexpr std::uint32_t kExclusiveAccess = ControlCode(2, 0x17, 0, 3);
enum ExclusiveRequest : std::uint32_t { kQueryState = 0, kLockDevice = 1, kUnlockDevice = 2 };
// Our own volume lock already keeps the file system off the disc.
constexpr std::uint32_t kIgnoreVolume = 1;
struct ExclusiveRequestHeader {
    std::uint32_t request, flags;
};
struct ExclusiveLock {
    ExclusiveRequestHeader header;
    char callerName[64];
};
static_assert(sizeof(ExclusiveLock) == 72, "CDROM_EXCLUSIVE_LOCK is 72 bytes");
// The state query's answer, written over its header: held, and by whom.
struct ExclusiveState {
    std::uint8_t locked;
    char callerName[64];
};
union ExclusiveQuery {
    ExclusiveRequestHeader header;
    ExclusiveState state;
};

// A volume lock asks the programs with open files on the disc (Explorer) to
// let go: it is tried again for a few seconds while they do.
constexpr int kVolumeLockTries = 20, kVolumeLockWaitMs = 250;

// Errors by which the system says another program holds the disc or drive.
bool InUseError(std::uint32_t error) {
    return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION || error == ERROR_BUSY;
}
}  // namespace

clsSPTI::clsSPTI(std::unique_ptr<SptiSystem> system) : m_system(std::move(system)) {
    m_handles.fill(SptiSystem::kInvalidHandle);
    for (char letter = 'A'; letter <= 'Z'; ++letter)
        if (m_system->DriveType(letter) == kCdRom) m_drives.emplace_back(1, letter);
    m_passThroughCode = ControlCode(4, 0x405, 0, 3);
    m_addressCode = ControlCode(4, 0x406, 0, 0);
}

clsSPTI::~clsSPTI() {
    for (const std::intptr_t handle : m_handles)
        if (handle != SptiSystem::kInvalidHandle) m_system->Close(handle);
}

bool clsSPTI::Installed() {
    return !m_drives.empty() && HandleOf(m_drives.front()) != SptiSystem::kInvalidHandle;
}

std::string clsSPTI::DriveHandle(std::int16_t index) const {
    return index >= 1 && index <= DriveCount() ? m_drives[static_cast<std::size_t>(index - 1)]
                                               : std::string();
}

void clsSPTI::OpenHandles() {
    const std::uint32_t access = m_system->NtVersion5OrLater() ? kReadWrite : kReadOnly;
    for (char letter = 'A'; letter <= 'Z'; ++letter)
        if (m_system->DriveType(letter) == kCdRom)
            m_handles[static_cast<std::size_t>(letter - 'A')] =
                m_system->Open(DevicePath(letter), access);
}

std::intptr_t clsSPTI::HandleOf(const std::string& drive) {
    const int index = LetterIndex(drive);
    if (index < 0) return SptiSystem::kInvalidHandle;
    std::call_once(m_handlesOpened, [this] { OpenHandles(); });
    return m_handles[static_cast<std::size_t>(index)];
}

std::uint8_t clsSPTI::AddressByte(const std::string& drive, std::size_t offset) {
    const std::intptr_t handle = HandleOf(drive);
    SCSI_ADDRESS address{};
    address.Length = sizeof address;
    static_assert(sizeof address == 8, "the address request is 8 bytes");
    if (handle == SptiSystem::kInvalidHandle ||
        !m_system->Control(handle, m_addressCode, &address, sizeof address, sizeof address))
        return 0;
    return reinterpret_cast<const std::uint8_t*>(&address)[offset];
}

std::int32_t clsSPTI::ExecCMD(const std::string& drive, const std::uint8_t* cdb,
                              std::uint8_t cdbLen, std::int32_t direction, void* buffer,
                              std::int32_t bufferLen, std::int32_t& timeout) {
    const std::intptr_t handle = HandleOf(drive);
    if (handle == SptiSystem::kInvalidHandle) return ScsiStatus::kCannotOpen;
    if (timeout == 0) timeout = kNoPracticalLimit;
    PassThroughRequest request{};
    request.header.Length = sizeof request.header;
    request.header.CdbLength = cdbLen;
    request.header.SenseInfoLength = 31;
    request.header.DataIn = direction == 0 ? SCSI_IOCTL_DATA_IN : SCSI_IOCTL_DATA_OUT;
    request.header.DataTransferLength = static_cast<ULONG>(bufferLen);
    request.header.TimeOutValue = static_cast<ULONG>(timeout);
    request.header.DataBuffer = buffer;
    request.header.SenseInfoOffset = offsetof(PassThroughRequest, sense);
    std::memcpy(request.header.Cdb, cdb, std::min<std::size_t>(cdbLen, sizeof request.header.Cdb));
    const std::lock_guard<std::mutex> lock(m_states.CommandLock(drive));
    const bool sent =
        m_system->Control(handle, m_passThroughCode, &request, sizeof request, sizeof request);
    m_states.SetSense(drive, DecodeSense(request.sense, sizeof request.sense));
    return sent ? request.header.ScsiStatus : ScsiStatus::kServiceFailure;
}

std::string clsSPTI::ClaimDrive(const std::string& drive) {
    const std::intptr_t handle = HandleOf(drive);
    if (handle == SptiSystem::kInvalidHandle) return drive + ": the drive cannot be opened";
    const std::lock_guard<std::mutex> lock(m_states.CommandLock(drive));
    Claim& claim = m_claims[static_cast<std::size_t>(LetterIndex(drive))];
    if (claim.count == 0 && !TakeDrive(handle, claim)) return kInUse;
    ++claim.count;
    return {};
}

void clsSPTI::ReleaseDrive(const std::string& drive) {
    const std::intptr_t handle = HandleOf(drive);
    if (handle == SptiSystem::kInvalidHandle) return;
    const std::lock_guard<std::mutex> lock(m_states.CommandLock(drive));
    Claim& claim = m_claims[static_cast<std::size_t>(LetterIndex(drive))];
    if (claim.count == 0 || --claim.count > 0) return;
    GiveBack(handle, claim);
}

bool clsSPTI::HeldByAnotherProgram(std::intptr_t handle) {
    ExclusiveQuery query{};
    query.header.request = kQueryState;
    return m_system->Control(handle, kExclusiveAccess, &query, sizeof(ExclusiveRequestHeader),
                             sizeof(ExclusiveState)) &&
           query.state.locked != 0;
}

// False when another program holds the drive or keeps files open on its
// disc. A lock the system refuses with any other error (not offered, no
// disc) is done without: the drive is then shared as before the claim.
bool clsSPTI::TakeDrive(std::intptr_t handle, Claim& claim) {
    if (HeldByAnotherProgram(handle) || !LockVolume(handle, claim)) return false;
    ExclusiveLock request{{kLockDevice, kIgnoreVolume}, "MAPLE CD DVD Writer"};
    claim.exclusive = m_system->Control(handle, kExclusiveAccess, &request, sizeof request, 0);
    if (claim.exclusive || !InUseError(m_system->LastError())) return true;
    GiveBack(handle, claim);
    return false;
}

// False only when other programs kept their files open on the disc.
bool clsSPTI::LockVolume(std::intptr_t handle, Claim& claim) {
    for (int attempt = 1;; ++attempt) {
        claim.volumeLocked = m_system->Control(handle, FSCTL_LOCK_VOLUME, nullptr, 0, 0);
        if (claim.volumeLocked || !InUseError(m_system->LastError())) return true;
        if (attempt == kVolumeLockTries) return false;
        SleepMilliseconds(kVolumeLockWaitMs);
    }
}

void clsSPTI::GiveBack(std::intptr_t handle, Claim& claim) {
    if (claim.exclusive) {
        ExclusiveRequestHeader request{kUnlockDevice, 0};
        m_system->Control(handle, kExclusiveAccess, &request, sizeof request, 0);
    }
    if (claim.volumeLocked) m_system->Control(handle, FSCTL_UNLOCK_VOLUME, nullptr, 0, 0);
    claim = Claim{};
}
