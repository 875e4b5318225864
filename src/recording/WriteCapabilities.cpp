#include "WriteCapabilities.h"

#include <array>
#include <cstdint>

#include "ScsiStatus.h"
#include "modMMC.h"

namespace {
constexpr std::uint8_t kCapabilitiesPage = 0x2A;
constexpr std::uint16_t kReplyLength = 37;
// Page byte 3 (after the 8-byte mode parameter header): write capabilities.
constexpr std::size_t kWriteByte = 8 + 3;
constexpr int kCdRWriteBit = 0;
constexpr int kTestWriteBit = 2;
}  // namespace

WriteCapabilities ReadWriteCapabilities(const std::string& drive) {
    std::array<std::uint8_t, kReplyLength> reply{};
    WriteCapabilities capabilities;
    if (modMMC::ModeSenseDefault(drive, kCapabilitiesPage, reply.data(), kReplyLength) !=
        ScsiStatus::kGood)
        return capabilities;
    capabilities.sensed = true;
    capabilities.canWrite = modMMC::BitSet(reply[kWriteByte], kCdRWriteBit);
    capabilities.testWrite = modMMC::BitSet(reply[kWriteByte], kTestWriteBit);
    return capabilities;
}
