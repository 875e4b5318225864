#include "DriveBufferFill.h"

#include <array>
#include <cstdint>

#include "ScsiStatus.h"
#include "modMMC.h"

namespace modMMC {
namespace {
constexpr std::uint8_t kOpReadBufferCapacity = 0x5C;
constexpr std::uint8_t kReplyBytes = 12;

std::uint32_t BigEndian32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}
}  // namespace

int DriveBufferFill(const std::string& drive) {
    std::array<std::uint8_t, kReplyBytes> reply{};
    ScsiRequest request = detail::MakeRequest(kOpReadBufferCapacity, 10, ScsiDirection::kIn, 5);
    request.CDB[8] = kReplyBytes;  // allocation length; Block clear: sizes in bytes
    if (detail::Send(request, drive, reply.data(), kReplyBytes) != ScsiStatus::kGood) return -1;
    const std::uint32_t size = BigEndian32(reply.data() + 4);
    const std::uint32_t blank = BigEndian32(reply.data() + 8);
    if (size == 0 || blank > size) return -1;
    return static_cast<int>((std::uint64_t{size} - blank) * 100 / size);
}
}  // namespace modMMC
