#include "DiscContinuation.h"

#include <algorithm>
#include <array>

#include "MediaClasses.h"
#include "ScsiStatus.h"
#include "VolumeSpaceSize.h"
#include "modMMC.h"

namespace {
constexpr std::int64_t kBlock = 2048;
constexpr std::int64_t kGrowthAlignment = 32;
constexpr std::int32_t kReadRun = 16;

std::int64_t Big32(const std::uint8_t* at) {
    return static_cast<std::int64_t>(at[0]) << 24 | static_cast<std::int64_t>(at[1]) << 16 |
           static_cast<std::int64_t>(at[2]) << 8 | at[3];
}

// Track information (36 bytes) of track `number`; false when the drive does not answer.
bool TrackInfo(const std::string& drive, int number, std::array<std::uint8_t, 36>& info) {
    return modMMC::ReadTrackInformation(drive, 1, static_cast<std::uint32_t>(number), info.data(),
                                        info.size());
}

// The sessions of the recorded tracks 1 .. last - 1 (the last may be the invisible one).
std::vector<DiscSession> RecordedSessions(const std::string& drive, int lastTrack) {
    std::vector<DiscSession> sessions;
    for (int number = 1; number <= lastTrack; ++number) {
        std::array<std::uint8_t, 36> info{};
        if (!TrackInfo(drive, number, info)) break;
        const bool blank = (info[6] & 0x40) != 0;
        if (blank) continue;
        const int session = info[3] | info[33] << 8;
        const std::int64_t start = Big32(&info[8]), size = Big32(&info[24]);
        if (sessions.empty() || sessions.back().number != session)
            sessions.push_back({session, start, 0});
        sessions.back().length = start + size - sessions.back().start;
    }
    return sessions;
}

// The volume space size of the ISO 9660 volume at block 16; 0 without one.
std::int64_t VolumeAtSixteen(const std::string& drive) {
    std::array<std::uint8_t, kBlock> block{};
    if (!DiscContinuation::ReadBlocks(drive, 16, 1, block.data())) return 0;
    return PrimaryVolumeSpaceSize(block);
}

void InPlace(const std::string& drive, DiscContinuation& disc) {
    const std::int64_t volume = VolumeAtSixteen(drive);
    const std::int64_t last = modMMC::ReadCapacity(drive);
    if (volume == 0) {
        disc.kind = DiscContinuation::Kind::Blank;
        disc.freeBlocks = last >= 0 ? last + 1 : -1;
        return;
    }
    disc.kind = DiscContinuation::Kind::Growth;
    disc.importFrom = 0;
    disc.writeAt = DiscContinuation::GrowthStart(volume);
    disc.freeBlocks = last >= 0 ? std::max<std::int64_t>(last + 1 - disc.writeAt, 0) : -1;
    disc.sessions = {{1, 0, volume}};
}

void Sequential(const std::string& drive, const modMMC::DiscInfoRecord& status,
                DiscContinuation& disc) {
    disc.sessions = RecordedSessions(drive, status.LastTrack);
    if (!disc.sessions.empty()) disc.importFrom = disc.sessions.back().start;
    if (status.DiscState == modMMC::DiscState::kEmpty) {
        disc.kind = DiscContinuation::Kind::Blank;
        disc.freeBlocks = modMMC::FreeBlocks(drive);
        return;
    }
    if (status.DiscState != modMMC::DiscState::kIncomplete) {
        disc.kind = DiscContinuation::Kind::Closed;
        return;
    }
    // The invisible track is the last track of the last session; its next
    // writable address already lies beyond the lead-out and lead-in that a
    // CD needs between sessions (6,750 + 4,500 blocks after the first
    // session, 2,250 + 4,500 after later ones, plus the 150-block pre-gap).
    std::array<std::uint8_t, 36> info{};
    if (!TrackInfo(drive, status.LastTrack, info) || (info[7] & 0x01) == 0) return;
    disc.kind = DiscContinuation::Kind::NewSession;
    disc.trackNumber = static_cast<std::uint16_t>(info[2] | info[32] << 8);
    disc.writeAt = Big32(&info[12]);
    disc.freeBlocks = Big32(&info[16]);
}
}  // namespace

std::int64_t DiscContinuation::GrowthStart(std::int64_t volumeSpace) {
    return (volumeSpace + kGrowthAlignment - 1) / kGrowthAlignment * kGrowthAlignment;
}

bool DiscContinuation::ReadBlocks(const std::string& drive, std::int64_t lba, std::int32_t count,
                                  std::uint8_t* out) {
    for (std::int32_t done = 0; done < count;) {
        const std::int32_t run = std::min(kReadRun, count - done);
        if (modMMC::Read10(drive, static_cast<std::uint32_t>(lba + done),
                           static_cast<std::uint16_t>(run), out + done * kBlock,
                           static_cast<std::int32_t>(run * kBlock)) != ScsiStatus::kGood)
            return false;
        done += run;
    }
    return true;
}

DiscContinuation DiscContinuation::Of(const std::string& drive) {
    DiscContinuation disc;
    disc.media = modMMC::GetMediaType(drive);
    std::int32_t status = ScsiStatus::kGood;
    const modMMC::DiscInfoRecord info = modMMC::GetDiscStatus(drive, status);
    if (status != ScsiStatus::kGood) return disc;
    if (MediaClasses::Overwritable(disc.media))
        InPlace(drive, disc);
    else
        Sequential(drive, info, disc);
    return disc;
}
