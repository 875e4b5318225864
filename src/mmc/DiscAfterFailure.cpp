#include "DiscAfterFailure.h"

#include <array>

#include "EngineMessages.h"
#include "MediaClasses.h"
#include "ScsiStatus.h"
#include "SenseCodes.h"
#include "TransportSlot.h"
#include "modMMC.h"

namespace {

// The blocks of track `number` (READ TRACK INFORMATION bytes 24-27), or -1.
std::int64_t TrackBlocks(const std::string& drive, int number) {
    std::array<std::uint8_t, 36> info{};
    if (!modMMC::ReadTrackInformation(drive, 1, static_cast<std::uint32_t>(number), info.data(),
                                      info.size()))
        return -1;
    return std::int64_t{info[24]} << 24 | info[25] << 16 | info[26] << 8 | info[27];
}

// After the broken track: the tracks before it, which stay as they were;
// with none, what a disc holding only a broken track is still good for.
std::string AfterBrokenTrack(int failedTrack, std::int32_t media, bool closed) {
    if (failedTrack > 1)
        return Text(EngineMessage::DiscNowEarlierTracks, {std::to_string(failedTrack - 1)});
    if (!closed) return {};
    return MediaClasses::WriteOnce(media) ? Text(EngineMessage::DiscNowWriteOnce)
                                          : Text(EngineMessage::DiscNowErase);
}

// A disc with tracks; an appendable one ends with the empty track the drive
// keeps open, which is not counted.
std::string WithTracks(const std::string& drive, const modMMC::DiscInfoRecord& disc, int recorded,
                       int failedTrack) {
    const bool closed = disc.DiscState == modMMC::DiscState::kComplete;
    const std::string track = std::to_string(failedTrack);
    if (recorded < failedTrack) {  // the failed track never reached the disc
        const std::string complete = std::to_string(recorded);
        return closed ? Text(EngineMessage::DiscNowClosedSkipped, {track, complete})
                      : Text(EngineMessage::DiscNowAppendableSkipped, {track, complete});
    }
    const std::string blocks = std::to_string(TrackBlocks(drive, failedTrack));
    const std::string after = AfterBrokenTrack(failedTrack, disc.MediaType, closed);
    return closed ? Text(EngineMessage::DiscNowClosed, {track, blocks, after})
                  : Text(EngineMessage::DiscNowAppendable, {track, blocks, after});
}
}  // namespace

std::string DiscAfterFailure(const std::string& drive, int failedTrack) {
    std::int32_t status = ScsiStatus::kGood;
    const modMMC::DiscInfoRecord disc = modMMC::GetDiscStatus(drive, status);
    if (status != ScsiStatus::kGood) {
        if (modMMC::TestUnitReady(drive) == ScsiStatus::kCheckCondition && Transport() != nullptr &&
            Transport()->LastASC() == Asc::kMediumNotPresent)
            return Text(EngineMessage::DiscNowGone);
        return Text(EngineMessage::DiscNowUnknown);
    }
    // Written in place: the disc states say nothing of what the failure left.
    if (MediaClasses::Overwritable(disc.MediaType)) return Text(EngineMessage::DiscNowOverwritable);
    const bool appendable = disc.DiscState == modMMC::DiscState::kIncomplete;
    const int recorded = disc.LastTrack - (appendable ? 1 : 0);
    if (disc.DiscState == modMMC::DiscState::kEmpty || (appendable && recorded < 1))
        return Text(EngineMessage::DiscNowBlank);
    if (recorded >= 1 && (appendable || disc.DiscState == modMMC::DiscState::kComplete))
        return WithTracks(drive, disc, recorded, failedTrack);
    return Text(EngineMessage::DiscNowDamaged);
}

void CloseAfterFailure(const std::string& drive, std::uint16_t track) {
    (void)modMMC::SynchronizeCache(drive);
    (void)modMMC::CloseTrackSession(drive, modMMC::kCloseTrack, track);
    (void)modMMC::CloseTrackSession(drive, modMMC::kCloseSession, 1);
}
