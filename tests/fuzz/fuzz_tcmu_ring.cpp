// libFuzzer target: the command ring a kernel's user-space SCSI unit shares
// with the process, answered by the ring walker and the drive adapter.
// Input: bytes 0-1 the kernel's head (little-endian, inside the ring), then
// the ring's bytes and the data area's. The mailbox is sound; everything the
// kernel writes into the ring is taken from the input. The region is
// allocated at exactly its size, so AddressSanitizer catches any access
// outside it; a scripted transport stands in for the drive and reads or
// fills every byte of the buffer it is handed.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "RecordingTransport.h"
#include "TcmuDriveAdapter.h"
#include "TcmuRing.h"

namespace {
constexpr std::size_t kMailbox = 128, kRing = 1024, kData = 8192;

// The drive: the transport reads every byte sent (it keeps a copy), and the
// reply fills every byte asked for; CDB byte 1 and the bytes sent pick the status.
RecordingTransport::Reply Echo(const RecordingTransport::Command& command) {
    static constexpr std::int32_t kStatuses[4] = {0, 2, 8, 255};
    RecordingTransport::Reply reply = RecordingTransport::Sense(5, 0x24);
    std::uint8_t sum = command.cdb.size() > 1 ? command.cdb[1] : 0;
    for (const std::uint8_t byte : command.dataOut) sum = static_cast<std::uint8_t>(sum + byte);
    reply.status = kStatuses[sum & 3];
    for (std::int32_t i = 0; i < command.bufferLen; ++i)
        reply.dataIn.push_back(static_cast<std::uint8_t>(i + command.cdb.size()));
    return reply;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    std::vector<std::uint8_t> region(kMailbox + kRing + kData, 0);
    const std::uint32_t offset = kMailbox, ring = kRing;
    const std::uint32_t head = (data[0] | data[1] << 8) % kRing & ~7U;
    region[0] = 2;  // mailbox version
    std::memcpy(&region[4], &offset, 4);
    std::memcpy(&region[8], &ring, 4);
    std::memcpy(&region[12], &head, 4);
    std::memcpy(&region[kMailbox], data + 2, std::min(size - 2, region.size() - kMailbox));
    RecordingTransport transport({"echo"});
    transport.SetResponder(Echo);
    TcmuDriveAdapter adapter(transport, "echo");
    TcmuRing walker(region.data(), region.size());
    std::string problem;
    (void)walker.AnswerPending(adapter, problem);
    return 0;
}
