// libFuzzer target: the command ring a kernel's user-space SCSI unit shares
// with the process, answered by the ring walker and the drive adapter.
// Input: bytes 0-1 the kernel's head (little-endian, inside the ring), then
// the ring's bytes and the data area's. The mailbox is sound; everything the
// kernel writes into the ring is taken from the input. The region is
// allocated at exactly its size, so AddressSanitizer catches any access
// outside it; a transport stands in for the drive and reads or fills every
// byte of the buffer it is handed.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "TcmuDriveAdapter.h"
#include "TcmuRing.h"
#include "clsSCSI.h"

namespace {
constexpr std::size_t kMailbox = 128, kRing = 1024, kData = 8192;

// Reads every byte sent and fills every byte asked for; CDB byte 1 picks the answer.
class EchoTransport final : public clsSCSI {
  public:
    std::string Interface() const override { return "Echo"; }
    std::uint8_t LastASCQ() const override { return 0; }
    std::uint8_t LastASC() const override { return 0x24; }
    std::uint8_t LastSK() const override { return 5; }
    bool Initialized() override { return true; }
    bool Installed() override { return true; }
    std::int16_t DriveCount() const override { return 1; }
    std::string DriveChar(const std::string& drive) override { return drive; }
    std::string DriveHandle(std::int16_t) const override { return "echo"; }
    std::uint8_t HostAdapter(const std::string&) override { return 0; }
    std::uint8_t TargetID(const std::string&) override { return 0; }
    std::uint8_t LUN(const std::string&) override { return 0; }
    std::int32_t ExecCMD(const std::string&, const std::uint8_t* cdb, std::uint8_t cdbLen,
                         std::int32_t direction, void* buffer, std::int32_t bufferLen,
                         std::int32_t&) override {
        auto* bytes = static_cast<std::uint8_t*>(buffer);
        std::uint8_t sum = 0;
        for (std::int32_t i = 0; i < bufferLen; ++i) {
            if (direction != 0)
                sum = static_cast<std::uint8_t>(sum + bytes[i]);
            else
                bytes[i] = static_cast<std::uint8_t>(i + cdbLen);
        }
        static constexpr std::int32_t kStatuses[4] = {0, 2, 8, 255};
        return kStatuses[(cdbLen > 1 ? cdb[1] + sum : sum) & 3];
    }
};
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
    EchoTransport transport;
    TcmuDriveAdapter adapter(transport, "echo");
    TcmuRing walker(region.data(), region.size());
    std::string problem;
    (void)walker.AnswerPending(adapter, problem);
    return 0;
}
