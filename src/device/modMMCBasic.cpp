#include "modMMCBasic.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>

#include "MediaChanges.h"
#include "NoSleepWhileWriting.h"
#include "ScsiStatus.h"
#include "SenseCodes.h"
#include "TransportSlot.h"

namespace modMMC {

namespace {
std::atomic<bool> g_discChangeStarted{false};
static_assert(std::atomic<bool>::is_always_lock_free, "read in signal handlers");

bool ChangesTheDisc(std::uint8_t opcode) {
    switch (opcode) {
        case 0x04:  // FORMAT UNIT
        case 0x2A:  // WRITE(10)
        case 0x53:  // RESERVE TRACK
        case 0x5B:  // CLOSE TRACK/SESSION
        case 0x5D:  // SEND CUE SHEET
        case 0xA1:  // BLANK
        case 0xAA:  // WRITE(12)
            return true;
        default:
            return false;
    }
}

// The 32 powers of two behind ShiftLeft/ShiftRight: entry 31 is 80000000h.
const std::array<std::uint32_t, 32>& PowersOfTwo() {
    static const std::array<std::uint32_t, 32> table = [] {
        std::array<std::uint32_t, 32> powers{};
        for (int i = 0; i < 32; ++i) powers[i] = 1U << i;
        return powers;
    }();
    return table;
}

std::int32_t StartStop(const std::string& drive, std::int16_t immed, std::uint8_t loadEject) {
    ScsiRequest request = detail::MakeRequest(kOpStartStopUnit, 6, ScsiDirection::kIn, 5);
    request.CDB[1] = static_cast<std::uint8_t>(std::abs(immed));  // byte 1 bit 0: Immed
    request.CDB[4] = loadEject;                                   // byte 4: LoEj and Start bits
    return detail::Send(request, drive, nullptr, 0);
}
}  // namespace

std::uint32_t ShiftLeft(std::uint32_t x, int n) {
    if (n < 1) return x;
    if (n > 31) return 0;
    return x * PowersOfTwo()[n];
}

std::uint32_t ShiftRight(std::uint32_t x, int n) {
    if (n < 1) return x;
    if (n > 31) return 0;
    return x / PowersOfTwo()[n];
}

void PutBigEndian32(ScsiRequest& request, int at, std::uint32_t value) {
    request.CDB[at] = static_cast<std::uint8_t>(ShiftRight(value, 24) & 0xFF);
    request.CDB[at + 1] = static_cast<std::uint8_t>(ShiftRight(value, 16) & 0xFF);
    request.CDB[at + 2] = static_cast<std::uint8_t>(ShiftRight(value, 8) & 0xFF);
    request.CDB[at + 3] = static_cast<std::uint8_t>(value & 0xFF);
}

bool DiscChangeStarted() {
    return g_discChangeStarted.load();
}

std::int32_t TestUnitReady(const std::string& drive) {
    ScsiRequest request = detail::MakeRequest(kOpTestUnitReady, 6, ScsiDirection::kIn, 5);
    return detail::Send(request, drive, nullptr, 0);
}

std::int32_t Inquiry(const std::string& drive, InquiryRecord& record) {
    ScsiRequest request = detail::MakeRequest(kOpInquiry, 6, ScsiDirection::kIn, 5);
    request.CDB[4] = 0x24;  // byte 4: allocation length 36
    request.CDB[5] = 0xC0;  // byte 5: control (vendor bits), as older drives expect
    if (detail::Send(request, drive, record.data(), 36) == ScsiStatus::kGood) {
        return ScsiStatus::kGood;
    }
    request.CDB[5] = 0x00;  // some drives refuse vendor control bits: retry plain
    return detail::Send(request, drive, record.data(), 36);
}

std::int32_t LoadTray(const std::string& drive, std::int16_t immed) {
    return StartStop(drive, immed, 0x03);
}

std::int32_t EjectTray(const std::string& drive, std::int16_t immed) {
    return StartStop(drive, immed, 0x02);
}

namespace detail {

ScsiRequest MakeRequest(std::uint8_t opcode, std::uint8_t cdbLen, std::int32_t direction,
                        std::int32_t timeoutSeconds) {
    ScsiRequest request;
    request.CDB[0] = opcode;
    request.CDBLen = cdbLen;
    request.Direction = direction;
    request.Timeout = timeoutSeconds;
    return request;
}

std::int32_t Send(ScsiRequest& request, const std::string& drive, void* buffer,
                  std::int32_t bufferLen) {
    clsSCSI* transport = Transport();
    if (transport == nullptr) {
        request.Status = ScsiStatus::kServiceFailure;
        return request.Status;
    }
    if (ChangesTheDisc(request.CDB[0])) {
        g_discChangeStarted = true;  // before: it may take long
        NoSleepWhileWriting::NoteDiscChange(drive);
    }
    request.Status = transport->ExecCMD(drive, request.CDB.data(), request.CDBLen,
                                        request.Direction, buffer, bufferLen, request.Timeout);
    // Unit attention, "not ready to ready change, medium may have changed":
    // reported once, to whichever command comes first.
    if (request.Status == ScsiStatus::kCheckCondition &&
        transport->LastSK() == SenseKey::kUnitAttention &&
        transport->LastASC() == Asc::kMediumMayHaveChanged)
        MediaChanges::Note(drive);
    if (const auto& trace = CommandTrace()) {
        CommandTraceEntry entry{drive,
                                CdbText(request.CDB.data(), request.CDBLen),
                                request.Direction,
                                bufferLen,
                                request.Status,
                                transport->LastSK(),
                                transport->LastASC(),
                                transport->LastASCQ(),
                                {}};
        trace(entry);
    }
    return request.Status;
}

}  // namespace detail

}  // namespace modMMC
