#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// One data buffer of a ring command: a stretch of the region shared with the kernel.
struct TcmuBuffer {
    std::uint8_t* data = nullptr;
    std::size_t length = 0;
};

// A SCSI command taken from the ring, and the answer the handler gives.
struct TcmuCommand {
    std::vector<std::uint8_t> cdb;    // as many bytes as the kernel copied for the opcode
    std::vector<TcmuBuffer> buffers;  // the data buffers, in order
    std::uint8_t status = 0;          // SCSI status: 0 GOOD, 2 CHECK CONDITION, 8 BUSY
    std::vector<std::uint8_t> sense;  // fixed-format sense data with CHECK CONDITION
};

// Fixed-format sense data (response code 70h, 18 bytes) of a condition.
std::vector<std::uint8_t> TcmuFixedSense(std::uint8_t key, std::uint8_t asc, std::uint8_t ascq);

// Answers the commands of a ring.
class TcmuCommandHandler {
  public:
    virtual ~TcmuCommandHandler() = default;
    // Fills the data-in buffers when the command returns data, and sets the
    // status (and sense) of the answer.
    virtual void Answer(TcmuCommand& command) = 0;
};

// The command ring of a user-space SCSI unit ("TCM in user space"): a region
// shared with the kernel that starts with a mailbox (ring offset and size, the
// kernel's head, our tail), then the ring of command entries, then the data
// area the entries' buffers point into. Nothing outside the region is ever
// touched, whatever the region holds.
class TcmuRing {
  public:
    TcmuRing(std::uint8_t* region, std::size_t size) : m_region(region), m_size(size) {}

    // Answers every entry between our tail and the kernel's head, in order,
    // moving the tail past each. A command whose CDB or buffers lie outside
    // the data it may use, or whose buffers together exceed the data area, is
    // answered with CHECK CONDITION 04/44/00 (internal target failure). Returns false with
    // `problem` set when the mailbox or an entry header is damaged: the ring cannot be walked any
    // further.
    bool AnswerPending(TcmuCommandHandler& handler, std::string& problem);

    // Entries answered so far (commands, padding and others).
    std::size_t Answered() const { return m_answered; }

  private:
    struct Layout {
        std::size_t ringAt = 0, ringSize = 0;
    };
    bool ReadLayout(Layout& layout, std::string& problem) const;
    void AnswerCommand(TcmuCommandHandler& handler, const Layout& layout, std::uint8_t* entry,
                       std::size_t length);
    bool TakeCommand(const Layout& layout, const std::uint8_t* entry, std::size_t length,
                     TcmuCommand& command) const;

    std::uint8_t* m_region;
    std::size_t m_size;
    std::size_t m_answered = 0;
};
