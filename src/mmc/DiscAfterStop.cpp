#include "DiscAfterStop.h"

#include "EngineReporter.h"
#include "EnginesText.h"
#include "MediaClasses.h"
#include "modMMC.h"

namespace {
std::string UnfinishedMessage(std::int32_t media) {
    if (MediaClasses::WriteOnce(media))
        return EnginesText("StoppedWriteOnce",
                           "已停止。光碟上留有未完成的刻录：这张一次性写入的光碟已无法再使用。");
    if (MediaClasses::Overwritable(media))
        return EnginesText("StoppedOverwritable",
                           "已停止。光碟上只有部分新数据：请重新刻录或抹除这张光碟后再使用。");
    return EnginesText("StoppedErasable",
                       "已停止。光碟上留有未完成的刻录：请先抹除这张光碟，再重新刻录。");
}
}  // namespace

std::string StoppedMessage(DiscAfterStop state, std::int32_t mediaType) {
    switch (state) {
        case DiscAfterStop::Unchanged:
            return EnginesText("StoppedUnchanged",
                               "已停止。光碟上没有写入任何内容，光碟保持不变。");
        case DiscAfterStop::Unfinished:
            return UnfinishedMessage(mediaType);
        case DiscAfterStop::PartlyErased:
            return EnginesText("StoppedPartlyErased",
                               "已停止。光碟只被部分抹除：请再次抹除后再使用。");
        case DiscAfterStop::NoImage:
            return EnginesText("StoppedNoImage", "已停止。没有保留映像文件，光碟保持不变。");
    }
    return {};
}

void ReportStop(EngineReporter& reporter, const std::string& drive, DiscAfterStop state) {
    const bool written = state == DiscAfterStop::Unfinished || state == DiscAfterStop::PartlyErased;
    if (written) (void)modMMC::SynchronizeCache(drive);
    const std::string text = StoppedMessage(state, written ? modMMC::GetMediaType(drive) : 0);
    reporter.PhaseText(text);
    reporter.Message(text, EnginesText("StoppedTitle", "已停止"),
                     written ? MessageIcon::Exclamation : MessageIcon::Information,
                     MessageButtons::Ok);
}
