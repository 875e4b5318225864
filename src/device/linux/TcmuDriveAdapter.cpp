#include "TcmuDriveAdapter.h"

#include <algorithm>
#include <cstring>
#include <numeric>

#include "CdbTransferLength.h"
#include "ScsiStatus.h"
#include "SenseCodes.h"
#include "TransportSlot.h"

namespace {
// Longest time a command of the virtual drive may take; it answers at once,
// so this only bounds a drive folder on a very slow disk.
constexpr std::int32_t kCommandSeconds = 600;
// Parameter lists up to this length (MODE SELECT, SEND CUE SHEET ...) are traced.
constexpr std::size_t kTracedDataOut = 256;
}  // namespace

bool TcmuDriveAdapter::SendsData(std::uint8_t opcode) {
    switch (opcode) {
        case 0x04:  // FORMAT UNIT
        case 0x0A:  // WRITE(6)
        case 0x15:  // MODE SELECT(6)
        case 0x2A:  // WRITE(10)
        case 0x2E:  // WRITE AND VERIFY(10)
        case 0x3B:  // WRITE BUFFER
        case 0x54:  // SEND OPC INFORMATION
        case 0x55:  // MODE SELECT(10)
        case 0x5D:  // SEND CUE SHEET
        case 0x8A:  // WRITE(16)
        case 0xA3:  // SEND KEY
        case 0xAA:  // WRITE(12)
        case 0xB6:  // SET STREAMING
        case 0xBF:  // SEND DISC STRUCTURE
            return true;
        default:
            return false;
    }
}

void TcmuDriveAdapter::Answer(TcmuCommand& command) {
    const std::size_t buffers = std::accumulate(
        command.buffers.begin(), command.buffers.end(), std::size_t{0},
        [](std::size_t sum, const TcmuBuffer& buffer) { return sum + buffer.length; });
    const std::int32_t direction = SendsData(command.cdb.at(0)) ? 1 : 0;
    // The buffers' length, but never more than the CDB asks for: an entry
    // cannot make the drive take (or this process allocate) more. The drive
    // answers a length that disagrees with the CDB as a drive does.
    const std::size_t length = std::min(buffers, CdbTransferLength(command.cdb));
    std::vector<std::uint8_t> data(length);
    if (direction != 0) Gather(command, data);
    std::int32_t timeout = kCommandSeconds;
    const auto cdbLength =
        static_cast<std::uint8_t>(std::min<std::size_t>(command.cdb.size(), 255));
    const std::int32_t status = m_transport.ExecCMD(
        m_drive, command.cdb.data(), cdbLength, direction, length > 0 ? data.data() : nullptr,
        static_cast<std::int32_t>(std::min<std::size_t>(length, INT32_MAX)), timeout);
    Trace(command, data, direction, status);
    if (status == ScsiStatus::kGood || status == ScsiStatus::kBusy) {
        command.status = static_cast<std::uint8_t>(status);
    } else if (status == ScsiStatus::kCheckCondition) {
        command.status = ScsiStatus::kCheckCondition;
        command.sense =
            TcmuFixedSense(m_transport.LastSK(), m_transport.LastASC(), m_transport.LastASCQ());
    } else {  // the drive could not be reached: the unit's own failure
        command.status = ScsiStatus::kCheckCondition;
        command.sense =
            TcmuFixedSense(SenseKey::kHardwareError, Asc::kInternalTargetFailure, Ascq::kNone);
    }
    if (direction != 0 || status != ScsiStatus::kGood) return;
    Scatter(data, command);
}

void TcmuDriveAdapter::Gather(const TcmuCommand& command, std::vector<std::uint8_t>& data) {
    std::size_t at = 0;
    for (const TcmuBuffer& buffer : command.buffers) {
        const std::size_t part = std::min(buffer.length, data.size() - at);
        std::memcpy(data.data() + at, buffer.data, part);
        at += part;
    }
}

// The reply, and zeros in the buffers beyond it: nothing an earlier command
// left in the shared area reaches the caller.
void TcmuDriveAdapter::Scatter(const std::vector<std::uint8_t>& data, TcmuCommand& command) {
    std::size_t at = 0;
    for (const TcmuBuffer& buffer : command.buffers) {
        const std::size_t part = std::min(buffer.length, data.size() - at);
        std::memcpy(buffer.data, data.data() + at, part);
        std::memset(buffer.data + part, 0, buffer.length - part);
        at += part;
    }
}

void TcmuDriveAdapter::Trace(const TcmuCommand& command, const std::vector<std::uint8_t>& data,
                             std::int32_t direction, std::int32_t status) const {
    const auto& trace = CommandTrace();
    if (!trace) return;
    CommandTraceEntry entry{
        m_drive,
        CdbText(command.cdb.data(), command.cdb.size()),
        direction,
        static_cast<std::int32_t>(std::min<std::size_t>(data.size(), INT32_MAX)),
        status,
        m_transport.LastSK(),
        m_transport.LastASC(),
        m_transport.LastASCQ(),
        {}};
    if (direction != 0 && data.size() <= kTracedDataOut)
        entry.dataOutHex = CdbText(data.data(), data.size());
    trace(entry);
}
