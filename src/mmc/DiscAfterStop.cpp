#include "DiscAfterStop.h"

#include "EngineMessages.h"
#include "EngineReporter.h"
#include "MediaClasses.h"
#include "modMMC.h"

namespace {
std::string UnfinishedMessage(std::int32_t media) {
    if (MediaClasses::WriteOnce(media)) return Text(EngineMessage::StoppedWriteOnce);
    if (MediaClasses::Overwritable(media)) return Text(EngineMessage::StoppedOverwritable);
    return Text(EngineMessage::StoppedErasable);
}
}  // namespace

std::string StoppedMessage(DiscAfterStop state, std::int32_t mediaType) {
    switch (state) {
        case DiscAfterStop::Unchanged:
            return Text(EngineMessage::StoppedUnchanged);
        case DiscAfterStop::Unfinished:
            return UnfinishedMessage(mediaType);
        case DiscAfterStop::PartlyErased:
            return Text(EngineMessage::StoppedPartlyErased);
        case DiscAfterStop::NoImage:
            return Text(EngineMessage::StoppedNoImage);
    }
    return {};
}

void ReportStop(EngineReporter& reporter, const std::string& drive, DiscAfterStop state) {
    const bool written = state == DiscAfterStop::Unfinished || state == DiscAfterStop::PartlyErased;
    if (written) (void)modMMC::SynchronizeCache(drive);
    const std::string text = StoppedMessage(state, written ? modMMC::GetMediaType(drive) : 0);
    reporter.PhaseText(text);
    reporter.Message(text, Text(EngineMessage::StoppedTitle),
                     written ? MessageIcon::Exclamation : MessageIcon::Information,
                     MessageButtons::Ok);
}
