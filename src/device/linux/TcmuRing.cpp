#include "TcmuRing.h"

#include <algorithm>
#include <cstring>

#include "ScsiStatus.h"
#include "SenseCodes.h"

namespace {
// The ring's layout, from the kernel's linux/target_core_user.h (mailbox
// version 2). The header itself does not compile as C++ (an inline function
// returns an integer as an enum), so the offsets are spelled out here.
constexpr std::size_t kRingOffsetAt = 4;   // tcmu_mailbox.cmdr_off (u32)
constexpr std::size_t kRingSizeAt = 8;     // tcmu_mailbox.cmdr_size (u32)
constexpr std::size_t kHeadAt = 12;        // tcmu_mailbox.cmd_head (u32), moved by the kernel
constexpr std::size_t kTailAt = 64;        // tcmu_mailbox.cmd_tail (u32), on its own cache line
constexpr std::size_t kMailboxSize = 128;  // sizeof(tcmu_mailbox)
constexpr std::size_t kEntryHeader = 8;    // tcmu_cmd_entry_hdr: len_op, cmd_id, kflags, uflags
constexpr std::size_t kUflagsAt = 7;
constexpr std::size_t kIovCountAt = 8;    // req.iov_cnt (u32)
constexpr std::size_t kBidiCountAt = 12;  // req.iov_bidi_cnt (u32)
constexpr std::size_t kDifCountAt = 16;   // req.iov_dif_cnt (u32)
constexpr std::size_t kCdbOffsetAt = 24;  // req.cdb_off (u64)
constexpr std::size_t kIovecsAt = 48;     // req.iov[]: iov_base (an offset here), iov_len
constexpr std::size_t kIovecSize = 16;
constexpr std::size_t kStatusAt = 8;           // rsp.scsi_status (u8)
constexpr std::size_t kSenseAt = 16;           // rsp.sense_buffer
constexpr std::size_t kSenseSize = 96;         // TCMU_SENSE_BUFFERSIZE
constexpr std::size_t kSmallestCommand = 112;  // sizeof(tcmu_cmd_entry)
constexpr std::uint32_t kOpMask = 0x7;         // len_op: low bits opcode, the rest the length
constexpr std::uint32_t kOpPad = 0, kOpCommand = 1, kOpTaskManagement = 2;
constexpr std::uint8_t kUnknownOpFlag = 0x1;  // TCMU_UFLAG_UNKNOWN_OP

// The region is shared with the kernel: fields are copied, never referenced,
// since entries are packed and need not be aligned for their types.
template <typename T>
T Load(const std::uint8_t* at) {
    T value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

// CDB bytes the kernel copies for an opcode (its scsi_command_size).
std::size_t CdbLength(const std::uint8_t* cdb) {
    static constexpr std::size_t kByGroup[8] = {6, 10, 10, 12, 16, 12, 10, 10};
    constexpr std::uint8_t kVariableLength = 0x7F;
    return cdb[0] == kVariableLength ? cdb[7] + 8U : kByGroup[cdb[0] >> 5];
}

// True when [offset, offset + length) lies inside [first, end).
bool Inside(std::uint64_t offset, std::uint64_t length, std::uint64_t first, std::uint64_t end) {
    return offset >= first && offset <= end && length <= end - offset;
}
}  // namespace

std::vector<std::uint8_t> TcmuFixedSense(std::uint8_t key, std::uint8_t asc, std::uint8_t ascq) {
    std::vector<std::uint8_t> sense(18, 0);
    sense[0] = 0x70;
    sense[2] = key;
    sense[7] = 10;  // additional sense length
    sense[12] = asc;
    sense[13] = ascq;
    return sense;
}

bool TcmuRing::ReadLayout(Layout& layout, std::string& problem) const {
    if (m_size < kMailboxSize) {
        problem = "the shared region is smaller than the mailbox";
        return false;
    }
    layout.ringAt = Load<std::uint32_t>(m_region + kRingOffsetAt);
    layout.ringSize = Load<std::uint32_t>(m_region + kRingSizeAt);
    if (layout.ringAt < kMailboxSize || layout.ringSize < kSmallestCommand ||
        layout.ringSize % 8 != 0 || !Inside(layout.ringAt, layout.ringSize, 0, m_size)) {
        problem = "the mailbox names a command ring outside the shared region";
        return false;
    }
    return true;
}

bool TcmuRing::AnswerPending(TcmuCommandHandler& handler, std::string& problem) {
    Layout layout;
    if (!ReadLayout(layout, problem)) return false;
    auto* tailField = reinterpret_cast<std::uint32_t*>(m_region + kTailAt);
    auto* headField = reinterpret_cast<std::uint32_t*>(m_region + kHeadAt);
    std::size_t tail = __atomic_load_n(tailField, __ATOMIC_RELAXED);
    for (;;) {
        const std::size_t head = __atomic_load_n(headField, __ATOMIC_ACQUIRE);
        if (head == tail) return true;
        if (head >= layout.ringSize || tail >= layout.ringSize || head % 8 != 0 || tail % 8 != 0) {
            problem = "the ring's head or tail lies outside the ring";
            return false;
        }
        std::uint8_t* entry = m_region + layout.ringAt + tail;
        const std::size_t lenOp =
            layout.ringSize - tail < kEntryHeader ? 0 : Load<std::uint32_t>(entry) & ~kOpMask;
        // Entries never wrap around the ring's end, and never reach past the head.
        const std::size_t room = tail < head ? head - tail : layout.ringSize - tail;
        if (lenOp < kEntryHeader || lenOp > room) {
            problem = "a ring entry has a damaged length";
            return false;
        }
        switch (Load<std::uint32_t>(entry) & kOpMask) {
            case kOpCommand:
                if (lenOp < kSmallestCommand) {
                    problem = "a command entry is too short for its answer";
                    return false;
                }
                AnswerCommand(handler, layout, entry, lenOp);
                break;
            case kOpPad:
            case kOpTaskManagement:  // task management notices need no answer
                break;
            default:
                entry[kUflagsAt] |= kUnknownOpFlag;
                break;
        }
        tail = (tail + lenOp) % layout.ringSize;
        __atomic_store_n(tailField, static_cast<std::uint32_t>(tail), __ATOMIC_RELEASE);
        ++m_answered;
    }
}

bool TcmuRing::TakeCommand(const Layout& layout, const std::uint8_t* entry, std::size_t length,
                           TcmuCommand& command) const {
    const std::uint64_t buffers = Load<std::uint32_t>(entry + kIovCountAt);
    const std::uint64_t described = buffers + Load<std::uint32_t>(entry + kBidiCountAt) +
                                    Load<std::uint32_t>(entry + kDifCountAt);
    if (described > (length - kIovecsAt) / kIovecSize) return false;
    const std::uint64_t dataArea = layout.ringAt + layout.ringSize;
    // Together no larger than the data area: overlapping buffers are no command.
    std::uint64_t total = 0;
    for (std::uint64_t i = 0; i < buffers; ++i) {
        const std::uint8_t* iovec = entry + kIovecsAt + i * kIovecSize;
        const auto offset = Load<std::uint64_t>(iovec);
        const auto bytes = Load<std::uint64_t>(iovec + 8);
        if (!Inside(offset, bytes, dataArea, m_size)) return false;
        total += bytes;
        if (total > m_size - dataArea) return false;
        command.buffers.push_back({m_region + offset, static_cast<std::size_t>(bytes)});
    }
    const auto cdbAt = Load<std::uint64_t>(entry + kCdbOffsetAt);
    if (!Inside(cdbAt, 8, layout.ringAt, m_size)) return false;
    const std::size_t cdbLength = CdbLength(m_region + cdbAt);
    if (!Inside(cdbAt, cdbLength, layout.ringAt, m_size)) return false;
    command.cdb.assign(m_region + cdbAt, m_region + cdbAt + cdbLength);
    return true;
}

void TcmuRing::AnswerCommand(TcmuCommandHandler& handler, const Layout& layout, std::uint8_t* entry,
                             std::size_t length) {
    // The answer overlays the request's fields (and maybe its CDB): everything
    // is copied out first.
    TcmuCommand command;
    if (TakeCommand(layout, entry, length, command)) {
        handler.Answer(command);
    } else {
        command.status = ScsiStatus::kCheckCondition;
        command.sense =
            TcmuFixedSense(SenseKey::kHardwareError, Asc::kInternalTargetFailure, Ascq::kNone);
    }
    entry[kStatusAt] = command.status;
    std::memset(entry + kSenseAt, 0, kSenseSize);
    if (command.status == ScsiStatus::kCheckCondition)
        std::memcpy(entry + kSenseAt, command.sense.data(),
                    std::min(command.sense.size(), kSenseSize));
}
