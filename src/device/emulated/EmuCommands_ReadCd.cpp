// READ CD and READ CD MSF: the CD-DA sectors of audio tracks and of the
// pauses before them, 2352 bytes each, as recorded, and their formatted Q
// or raw P-W sub-channel.
#include <cstring>

#include "EmuCommandTable.h"
#include "EmuDataFile.h"
#include "EmuDriveState.h"
#include "EmuSubChannelQ.h"

namespace EmuCommands {

namespace {
constexpr std::int64_t kCddaBytes = 2352;
// Byte 9: the user data; sync, header and EDC/ECC bits do not apply to
// CD-DA sectors (their 2352 bytes are all user data); no C2 error bits.
constexpr std::uint8_t kUserData = 0x10, kC2ErrorBits = 0x06;
// Byte 10: no sub-channel, raw P-W (96 bytes after each sector) or the
// formatted Q (16 bytes).
constexpr std::uint8_t kNoSubChannel = 0, kRawPw = 1, kFormattedQ = 2;

// Blocks of a running test write were never recorded.
const EmuMedia& Recorded(const EmuDriveState& state) {
    return state.beforeSimulation ? *state.beforeSimulation : state.media;
}

// One CD-DA sector at `lba` into `out`.
EmuOutcome ReadCddaSector(const EmuCall& call, std::int64_t lba, std::uint8_t* out) {
    const EmuMedia& recorded = Recorded(call.state);
    if (recorded.tracks.empty() || lba < -EmuMedia::kTrackPreGap ||
        lba > recorded.LastAddressableLba())
        return EmuSense::kLbaOutOfRange;
    const EmuTrack* track = recorded.TrackAt(lba);
    if (track == nullptr) {
        // The pause before an audio track: kept where it lies on the disc;
        // the first track's pre-gap (negative addresses) is silence.
        if (recorded.AudioPauseAt(lba) == nullptr) return EmuSense::kUncorrectableBlock;
        if (lba < 0) {
            std::memset(out, 0, kCddaBytes);
            return EmuSense::kGood;
        }
        return call.data.Read(lba * kCddaBytes, out, kCddaBytes) ? EmuSense::kGood
                                                                 : EmuSense::kUnrecoveredReadError;
    }
    if (lba >= track->start + track->length) return EmuSense::kUncorrectableBlock;  // run-out
    if (track->mode != EmuTrack::Mode::Audio) return EmuSense::kIllegalModeForTrack;
    return call.data.Read(recorded.DataOffset(*track, lba), out, kCddaBytes)
               ? EmuSense::kGood
               : EmuSense::kUnrecoveredReadError;
}

// The sector at `lba` as byte 9 and 10 ask: its user data, its sub-channel
// (`subChannel`: none, raw P-W or formatted Q), or both (the data first).
EmuOutcome ReadSector(const EmuCall& call, std::int64_t lba, bool data, std::uint8_t subChannel,
                      std::uint8_t* out) {
    if (data) {
        const EmuOutcome outcome = ReadCddaSector(call, lba, out);
        if (!outcome.Good()) return outcome;
        out += kCddaBytes;
    }
    if (subChannel == kNoSubChannel) return EmuSense::kGood;
    EmuSubChannelQ::Bytes q{};
    if (!EmuSubChannelQ::At(Recorded(call.state), lba, q))
        return data ? EmuSense::kIllegalModeForTrack : EmuSense::kLbaOutOfRange;
    if (subChannel == kRawPw)
        EmuSubChannelQ::RawPw(q, out);
    else
        std::memcpy(out, q.data(), q.size());
    return EmuSense::kGood;
}

// Expected sector type any (000b) or CD-DA (001b), the user data and/or the
// raw P-W or formatted Q, no C2 bits; anything else 05/24/00. Data sectors
// answer 05/64/00.
EmuOutcome ReadCddaSectors(const EmuCall& call, std::int64_t lba, std::int64_t blocks) {
    const EmuCommand& command = call.command;
    const int sectorType = (command.Byte(1) >> 2) & 0x07;
    const std::uint8_t fields = command.Byte(9);
    const std::uint8_t subChannel = command.Byte(10) & 0x07;
    const bool data = (fields & kUserData) != 0;
    const bool sub = subChannel == kFormattedQ || subChannel == kRawPw;
    if (sectorType > 1 || (fields & kC2ErrorBits) != 0 || (!data && fields != 0) ||
        (subChannel != kNoSubChannel && !sub) || (!data && !sub))
        return EmuSense::kInvalidFieldInCdb;
    if (sub && call.state.faults.noSubChannel) return EmuSense::kInvalidFieldInCdb;
    if (!TraitsOf(call.state.media.kind).cd) return EmuSense::kCannotReadFormat;
    const std::int64_t subBytes = subChannel == kRawPw        ? EmuSubChannelQ::kRawBytes
                                  : subChannel == kFormattedQ ? EmuSubChannelQ::kBytes
                                                              : 0;
    const std::int64_t sectorBytes = (data ? kCddaBytes : 0) + subBytes;
    if (blocks < 0 || command.dataInLen < blocks * sectorBytes) return EmuSense::kInvalidFieldInCdb;
    for (std::int64_t at = 0; at < blocks; ++at) {
        const EmuOutcome outcome =
            ReadSector(call, lba + at, data, subChannel, command.dataIn + at * sectorBytes);
        if (!outcome.Good()) return outcome;
    }
    return EmuSense::kGood;
}

// The LBA of an MSF address in CDB bytes at..at+2.
std::int64_t MsfLba(const EmuCommand& command, int at) {
    return (command.Byte(at) * 60 + command.Byte(at + 1)) * 75 + command.Byte(at + 2) - 150;
}
}  // namespace

EmuOutcome ReadCd(EmuCall& call) {
    const EmuCommand& command = call.command;
    const std::int64_t lba = static_cast<std::int32_t>(command.Long(2));
    const std::int64_t blocks = std::int64_t{command.Byte(6)} << 16 | command.Word(7);
    return ReadCddaSectors(call, lba, blocks);
}

// Start at bytes 3-5, end (not read) at bytes 6-8.
EmuOutcome ReadCdMsf(EmuCall& call) {
    const std::int64_t start = MsfLba(call.command, 3);
    return ReadCddaSectors(call, start, MsfLba(call.command, 6) - start);
}

}  // namespace EmuCommands
