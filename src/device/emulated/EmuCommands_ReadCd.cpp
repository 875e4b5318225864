// READ CD: the CD-DA sectors of audio tracks, 2352 bytes each, as recorded.
#include "EmuCommandTable.h"
#include "EmuDataFile.h"
#include "EmuDriveState.h"

namespace EmuCommands {

namespace {
constexpr std::int64_t kCddaBytes = 2352;
constexpr std::uint8_t kUserData = 0x10;  // byte 9: user data only, no headers or C2 bits

// One CD-DA sector at `lba` into `out`.
EmuOutcome ReadCddaSector(const EmuCall& call, std::int64_t lba, std::uint8_t* out) {
    const EmuDriveState& state = call.state;
    // Blocks of a running test write were never recorded.
    const EmuMedia& recorded = state.beforeSimulation ? *state.beforeSimulation : state.media;
    if (recorded.tracks.empty() || lba < 0 || lba > recorded.LastAddressableLba())
        return EmuSense::kLbaOutOfRange;
    const EmuTrack* track = recorded.TrackAt(lba);
    if (track == nullptr || lba >= track->start + track->length)
        return EmuSense::kUncorrectableBlock;  // pre-gap or run-out
    if (track->mode != EmuTrack::Mode::Audio) return EmuSense::kIllegalModeForTrack;
    return call.data.Read(recorded.DataOffset(*track, lba), out, kCddaBytes)
               ? EmuSense::kGood
               : EmuSense::kUnrecoveredReadError;
}
}  // namespace

// Expected sector type any (000b) or CD-DA (001b), user data only, no
// sub-channel; anything else 05/24/00. Data sectors answer 05/64/00.
EmuOutcome ReadCd(EmuCall& call) {
    const EmuCommand& command = call.command;
    const int sectorType = (command.Byte(1) >> 2) & 0x07;
    if (sectorType > 1 || command.Byte(9) != kUserData || command.Byte(10) != 0)
        return EmuSense::kInvalidFieldInCdb;
    if (!TraitsOf(call.state.media.kind).cd) return EmuSense::kCannotReadFormat;
    const std::int64_t lba = static_cast<std::int32_t>(command.Long(2));
    const std::int64_t blocks = std::int64_t{command.Byte(6)} << 16 | command.Word(7);
    if (command.dataInLen < blocks * kCddaBytes) return EmuSense::kInvalidFieldInCdb;
    for (std::int64_t at = 0; at < blocks; ++at) {
        const EmuOutcome outcome = ReadCddaSector(call, lba + at, command.dataIn + at * kCddaBytes);
        if (!outcome.Good()) return outcome;
    }
    return EmuSense::kGood;
}

}  // namespace EmuCommands
