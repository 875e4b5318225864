#include "EmuReply.h"

#include <algorithm>
#include <cstring>

namespace EmuReply {

void Put16(std::vector<std::uint8_t>& reply, std::size_t at, std::uint32_t value) {
    reply[at] = static_cast<std::uint8_t>(value >> 8);
    reply[at + 1] = static_cast<std::uint8_t>(value);
}

void Put32(std::vector<std::uint8_t>& reply, std::size_t at, std::uint32_t value) {
    Put16(reply, at, value >> 16);
    Put16(reply, at + 2, value & 0xFFFF);
}

void PutMsf(std::vector<std::uint8_t>& reply, std::size_t at, std::int64_t lba) {
    // Negative addresses lie in the lead-in, counted from 90:00:00.
    const std::int64_t frames = lba >= 0 ? lba + 150 : lba + 450150;
    reply[at] = 0;
    reply[at + 1] = static_cast<std::uint8_t>(frames / (60 * 75));
    reply[at + 2] = static_cast<std::uint8_t>(frames / 75 % 60);
    reply[at + 3] = static_cast<std::uint8_t>(frames % 75);
}

EmuOutcome Send(const EmuCall& call, const std::vector<std::uint8_t>& reply,
                std::uint32_t allocationLength) {
    const std::size_t length = std::min<std::size_t>(
        {allocationLength, reply.size(), static_cast<std::size_t>(call.command.dataInLen)});
    if (length > 0) std::memcpy(call.command.dataIn, reply.data(), length);
    return EmuSense::kGood;
}

}  // namespace EmuReply
