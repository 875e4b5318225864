#include "clsSGIO.h"

#include <cerrno>
#include <cstring>

#include "LinuxSgioSystem.h"
#include "ScsiStatus.h"
#include "SenseData.h"

namespace {
constexpr std::int32_t kNoPracticalLimitSeconds = 3600000;
constexpr int kSenseBufferSize = 32;
constexpr unsigned kDriverStatusMask = 0x07;  // DRIVER_BUSY ... DRIVER_HARD of older sg
constexpr std::uint8_t kLongestCdb = 16;
}  // namespace

clsSGIO::clsSGIO() : clsSGIO(std::make_unique<LinuxSgioSystem>()) {}

clsSGIO::clsSGIO(std::unique_ptr<SgioSystem> system) : m_system(std::move(system)) {
    for (const auto& node : m_system->ListOpticalDrives()) {
        Drive drive{node};
        // Write-class commands (WRITE, BLANK, MODE SELECT ...) need a write open;
        // reading the disc information still works on a read-only one.
        drive.fd = m_system->Open(node, true, drive.openError);
        if (drive.fd < 0) {
            int readOnlyError = 0;
            drive.fd = m_system->Open(node, false, readOnlyError);
        }
        m_drives.push_back(drive);
    }
}

clsSGIO::~clsSGIO() {
    for (const auto& drive : m_drives) {
        if (drive.fd >= 0) m_system->Close(drive.fd);
        if (drive.exclusiveFd >= 0) m_system->Close(drive.exclusiveFd);
    }
}

bool clsSGIO::Installed() {
    return !m_drives.empty() && m_drives.front().fd >= 0;
}

std::int16_t clsSGIO::DriveCount() const {
    return static_cast<std::int16_t>(m_drives.size());
}

std::string clsSGIO::DriveHandle(std::int16_t index) const {
    if (index < 1 || index > DriveCount()) return {};
    return m_drives[index - 1].node;
}

int clsSGIO::HandleOf(const std::string& drive) const {
    for (const auto& entry : m_drives)
        if (entry.node == drive) return entry.fd;
    return -1;
}

bool clsSGIO::Address(const std::string& drive, ScsiAddress& address) {
    const int fd = HandleOf(drive);
    return fd >= 0 && m_system->QueryAddress(fd, address);
}

std::uint8_t clsSGIO::HostAdapter(const std::string& drive) {
    ScsiAddress address;
    return Address(drive, address) ? address.host : 0;
}

std::uint8_t clsSGIO::TargetID(const std::string& drive) {
    ScsiAddress address;
    return Address(drive, address) ? address.target : 0;
}

std::uint8_t clsSGIO::LUN(const std::string& drive) {
    ScsiAddress address;
    return Address(drive, address) ? address.lun : 0;
}

std::int32_t clsSGIO::ExecCMD(const std::string& drive, const std::uint8_t* cdb,
                              std::uint8_t cdbLen, std::int32_t direction, void* buffer,
                              std::int32_t bufferLen, std::int32_t& timeout) {
    const int fd = HandleOf(drive);
    if (fd < 0) return ScsiStatus::kCannotOpen;  // sense fields stay as they were
    if (timeout == 0) timeout = kNoPracticalLimitSeconds;

    // The kernel reads cmd_len bytes from the copy: a longer CDB never leaves here.
    std::uint8_t cdbCopy[kLongestCdb] = {};
    if (cdb == nullptr || cdbLen == 0 || cdbLen > kLongestCdb) return ScsiStatus::kServiceFailure;
    std::memcpy(cdbCopy, cdb, cdbLen);
    std::uint8_t sense[kSenseBufferSize] = {};
    sg_io_hdr_t header{};
    header.interface_id = 'S';
    if (buffer == nullptr || bufferLen <= 0) {
        header.dxfer_direction = SG_DXFER_NONE;
    } else {
        header.dxfer_direction = direction == 0 ? SG_DXFER_FROM_DEV : SG_DXFER_TO_DEV;
        header.dxfer_len = static_cast<unsigned>(bufferLen);
        header.dxferp = buffer;
    }
    header.cmd_len = cdbLen;
    header.cmdp = cdbCopy;
    header.mx_sb_len = kSenseBufferSize;
    header.sbp = sense;
    // Milliseconds; 3600000 s is 3.6e9 ms, which still fits the unsigned field.
    header.timeout = static_cast<unsigned>(timeout) * 1000U;

    const std::lock_guard<std::mutex> lock(m_states.CommandLock(drive));
    int error = 0;
    const int result = m_system->SendSgIo(fd, header, error);
    const bool transportFailed =
        result < 0 || header.host_status != 0 || (header.driver_status & kDriverStatusMask) != 0;
    const SenseFields fields = DecodeSense(
        sense, header.sb_len_wr > kSenseBufferSize ? kSenseBufferSize : header.sb_len_wr);
    const bool good = !transportFailed && header.status == ScsiStatus::kGood;
    m_states.SetSense(drive, good ? SenseFields{} : fields);
    return transportFailed ? ScsiStatus::kServiceFailure : header.status;
}

std::string clsSGIO::OpenProblem() const {
    std::string problem;
    for (const auto& drive : m_drives) {
        if (drive.fd >= 0 || drive.openError == 0) continue;
        if (!problem.empty()) problem += "; ";
        problem += drive.node + ": " + std::strerror(drive.openError);
        if (drive.openError == EACCES || drive.openError == EPERM)
            problem += " (add your user to the group \"cdrom\" and log in again)";
    }
    return problem;
}

clsSGIO::Drive* clsSGIO::Find(const std::string& drive) {
    for (auto& entry : m_drives)
        if (entry.node == drive) return &entry;
    return nullptr;
}

std::string clsSGIO::ClaimDrive(const std::string& drive) {
    Drive* entry = Find(drive);
    if (entry == nullptr) return drive + ": no such drive";
    const std::lock_guard<std::mutex> lock(m_states.CommandLock(drive));
    if (entry->claims == 0) {
        int error = 0;
        entry->exclusiveFd = m_system->OpenExclusive(entry->node, error);
        if (entry->exclusiveFd < 0)
            return error == EBUSY ? kInUse : entry->node + ": " + std::strerror(error);
    }
    ++entry->claims;
    return {};
}

void clsSGIO::ReleaseDrive(const std::string& drive) {
    Drive* entry = Find(drive);
    if (entry == nullptr) return;
    const std::lock_guard<std::mutex> lock(m_states.CommandLock(drive));
    if (entry->claims == 0 || --entry->claims > 0) return;
    m_system->Close(entry->exclusiveFd);
    entry->exclusiveFd = -1;
}

std::optional<std::int64_t> clsSGIO::LastMediaChange(const std::string& drive) {
    const int fd = HandleOf(drive);
    if (fd < 0) return std::nullopt;
    std::int64_t milliseconds = 0;
    // The driver may ask the drive: not in the middle of another command.
    const std::lock_guard<std::mutex> lock(m_states.CommandLock(drive));
    if (!m_system->LastMediaChange(fd, milliseconds)) return std::nullopt;
    return milliseconds;
}
