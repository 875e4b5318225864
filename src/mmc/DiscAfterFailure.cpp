#include "DiscAfterFailure.h"

#include <array>

#include "EnginesText.h"
#include "MediaClasses.h"
#include "ScsiStatus.h"
#include "TransportSlot.h"
#include "modMMC.h"

namespace {
constexpr std::uint8_t kAscNoMedium = 0x3A;

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
        return EnginesText("DiscNowEarlierTracks", "之前的 %1 条轨道完整。",
                           {std::to_string(failedTrack - 1)});
    if (!closed) return {};
    return MediaClasses::WriteOnce(media)
               ? EnginesText("DiscNowWriteOnce", "这张一次性写入的光碟已无法再使用。")
               : EnginesText("DiscNowErase", "请先抹除这张光碟，再重新刻录。");
}

// A disc with tracks; an appendable one ends with the empty track the drive
// keeps open, which is not counted.
std::string WithTracks(const std::string& drive, const modMMC::DiscInfoRecord& disc, int recorded,
                       int failedTrack) {
    const bool closed = disc.DiscState == modMMC::DiscState::kComplete;
    const std::string track = std::to_string(failedTrack);
    if (recorded < failedTrack) {  // the failed track never reached the disc
        const std::string complete = std::to_string(recorded);
        return closed ? EnginesText("DiscNowClosedSkipped",
                                    "光碟现在已封闭：第 %1 条轨道没有写入，之前的 %2 条轨道完整，"
                                    "光碟不能再写入。",
                                    {track, complete})
                      : EnginesText("DiscNowAppendableSkipped",
                                    "光碟现在可以追加：第 %1 条轨道没有写入，之前的 %2 条轨道完整；"
                                    "光碟的其余空间还可以刻录新的区段。",
                                    {track, complete});
    }
    const std::string blocks = std::to_string(TrackBlocks(drive, failedTrack));
    const std::string after = AfterBrokenTrack(failedTrack, disc.MediaType, closed);
    return closed ? EnginesText("DiscNowClosed",
                                "光碟现在已封闭：第 %1 条轨道只有 %2 个区块，数据不完整，"
                                "光碟不能再写入。%3",
                                {track, blocks, after})
                  : EnginesText("DiscNowAppendable",
                                "光碟现在可以追加：第 %1 条轨道只有 %2 个区块，数据不完整；"
                                "光碟的其余空间还可以刻录新的区段。%3",
                                {track, blocks, after});
}
}  // namespace

std::string DiscAfterFailure(const std::string& drive, int failedTrack) {
    std::int32_t status = ScsiStatus::kGood;
    const modMMC::DiscInfoRecord disc = modMMC::GetDiscStatus(drive, status);
    if (status != ScsiStatus::kGood) {
        if (modMMC::TestUnitReady(drive) == ScsiStatus::kCheckCondition && Transport() != nullptr &&
            Transport()->LastASC() == kAscNoMedium)
            return EnginesText("DiscNowGone", "光碟机中已没有光碟。");
        return EnginesText("DiscNowUnknown", "无法读取光碟现在的状态：它可能已无法使用。");
    }
    // Written in place: the disc states say nothing of what the failure left.
    if (MediaClasses::Overwritable(disc.MediaType))
        return EnginesText("DiscNowOverwritable",
                           "光碟上只有部分新数据：请重新刻录或抹除这张光碟后再使用。");
    const bool appendable = disc.DiscState == modMMC::DiscState::kIncomplete;
    const int recorded = disc.LastTrack - (appendable ? 1 : 0);
    if (disc.DiscState == modMMC::DiscState::kEmpty || (appendable && recorded < 1))
        return EnginesText("DiscNowBlank", "光碟仍是空白的：没有写入任何内容，可以再次刻录。");
    if (recorded >= 1 && (appendable || disc.DiscState == modMMC::DiscState::kComplete))
        return WithTracks(drive, disc, recorded, failedTrack);
    return EnginesText("DiscNowDamaged", "光碟现在处于损坏状态，无法再写入。");
}
