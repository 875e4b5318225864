// READ BUFFER CAPACITY, GET PERFORMANCE, SET STREAMING and SEND OPC
// INFORMATION: the buffer, the speeds and the laser power calibration as
// DVD-era hosts ask for them.
#include <algorithm>

#include "EmuCommandTable.h"
#include "EmuDriveState.h"
#include "EmuMediumKind.h"
#include "EmuReply.h"
#include "EmuSpeeds.h"

namespace EmuCommands {

namespace {
// The buffer page 2Ah reports (2048 KiB); the drive writes at once, so it is always empty.
constexpr std::uint32_t kBufferBytes = 2048 * 1024;

// Type 00h: nominal performance, one descriptor over the medium.
std::vector<std::uint8_t> Performance(const EmuDriveState& state, bool write) {
    std::vector<std::uint8_t> reply(8 + 16, 0);
    EmuReply::Put32(reply, 0, static_cast<std::uint32_t>(reply.size() - 4));
    reply[4] = write ? 0x02 : 0x00;
    const std::uint16_t speed = write ? state.writeSpeed : state.readSpeed;
    const auto end =
        static_cast<std::uint32_t>(std::max<std::int64_t>(state.media.capacity, 1) - 1);
    EmuReply::Put32(reply, 12, speed);
    EmuReply::Put32(reply, 16, end);
    EmuReply::Put32(reply, 20, speed);
    return reply;
}

// Type 03h: one write speed descriptor per supported speed, fastest first.
std::vector<std::uint8_t> WriteSpeeds(const EmuDriveState& state, std::size_t most) {
    const auto speeds = EmuSpeeds::WriteSpeeds(state.media.kind);
    const std::size_t count = std::min(speeds.size(), most);
    std::vector<std::uint8_t> reply(8 + 16 * count, 0);
    EmuReply::Put32(reply, 0, static_cast<std::uint32_t>(reply.size() - 4));
    const auto end =
        static_cast<std::uint32_t>(std::max<std::int64_t>(state.media.capacity, 1) - 1);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = 8 + 16 * i;
        EmuReply::Put32(reply, at + 4, end);
        EmuReply::Put32(reply, at + 8, EmuSpeeds::ReadSpeeds(state.media.kind).back());
        EmuReply::Put32(reply, at + 12, speeds[speeds.size() - 1 - i]);
    }
    return reply;
}
}  // namespace

EmuOutcome ReadBufferCapacity(EmuCall& call) {
    std::vector<std::uint8_t> reply(12, 0);
    EmuReply::Put16(reply, 0, 10);
    if ((call.command.Byte(1) & 0x01) != 0) {  // block form: blocks available only
        reply[3] = 0x01;
        EmuReply::Put32(reply, 8, kBufferBytes / 2048);
    } else {
        EmuReply::Put32(reply, 4, kBufferBytes);
        EmuReply::Put32(reply, 8, kBufferBytes);
    }
    return EmuReply::Send(call, reply, call.command.Word(7));
}

EmuOutcome GetPerformance(EmuCall& call) {
    const EmuCommand& command = call.command;
    const std::uint16_t most = command.Word(8);
    switch (command.Byte(10)) {
        case 0x00:
            return EmuReply::Send(call, Performance(call.state, (command.Byte(1) & 0x04) != 0),
                                  8 + 16U * most);
        case 0x03: {
            const std::vector<std::uint8_t> reply = WriteSpeeds(call.state, most);
            return EmuReply::Send(call, reply, static_cast<std::uint32_t>(reply.size()));
        }
        default:
            return EmuSense::kInvalidFieldInCdb;
    }
}

EmuOutcome SetStreaming(EmuCall& call) {
    const EmuCommand& command = call.command;
    if (command.Byte(8) != 0) return EmuSense::kInvalidFieldInCdb;  // performance descriptor only
    constexpr int kDescriptor = 28;
    if (command.Word(9) < kDescriptor || command.dataOutLen < kDescriptor)
        return EmuSense::kParameterListLength;
    // Speeds in kB/s from sizes (kB) per time (ms).
    const auto speed = [&command](int at) -> std::uint16_t {
        const std::uint8_t* p = command.dataOut + at;
        const std::uint64_t size = std::uint64_t{p[0]} << 24 | p[1] << 16 | p[2] << 8 | p[3];
        const std::uint64_t time = std::uint64_t{p[4]} << 24 | p[5] << 16 | p[6] << 8 | p[7];
        return static_cast<std::uint16_t>(
            time == 0 ? 0xFFFF : std::min<std::uint64_t>(size * 1000 / time, 0xFFFF));
    };
    EmuDriveState& state = call.state;
    state.readSpeed = EmuSpeeds::Snap(EmuSpeeds::ReadSpeeds(state.media.kind), speed(12));
    state.writeSpeed = EmuSpeeds::Snap(EmuSpeeds::WriteSpeeds(state.media.kind), speed(20));
    return EmuSense::kGood;
}

EmuOutcome SendOpcInformation(EmuCall& call) {
    const EmuCommand& command = call.command;
    if (!TraitsOf(call.state.media.kind).recordable) return EmuSense::kCannotWriteFormat;
    // DoOPC asks for a calibration: nothing to do for a drive without a laser.
    if ((command.Byte(1) & 0x01) != 0) return EmuSense::kGood;
    // Without it the host sends OPC table entries of 8 bytes, of no use here.
    const std::uint16_t length = command.Word(7);
    if (length % 8 != 0) return EmuSense::kInvalidFieldInCdb;
    if (command.dataOutLen < length) return EmuSense::kParameterListLength;
    return EmuSense::kGood;
}

}  // namespace EmuCommands
