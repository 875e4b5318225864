#pragma once

#include <string>

#include "BurnOptions.h"
#include "ImageBurner.h"

class EngineReporter;
class ISOWriterEvents;
class SessionBuilder;

// Recording a disc's next session, and finishing an appendable disc: what
// `maple-cli add` and `close` and the disc information window run.
namespace SessionRecording {

// Builds the next session of `builder`'s project (events: the build's
// progress, may be nullptr) into this run's job folder and records it on
// `drive` with `options` (where and how from the builder); the image is
// removed afterwards. Refused (after a message) when the image cannot be built.
BurnOutcome RecordNext(EngineReporter& reporter, SessionBuilder& builder, BurnOptions options,
                       const std::string& drive, ISOWriterEvents* events);

// Finishes the appendable disc in `drive` so nothing more can be added:
// DVD+R by its finalising close; CD and DVD-R by one more session, listing
// the same files, recorded without a next session (not every drive takes
// the close of an empty session). A disc written in place has no session to
// close: Completed, after saying so. Every refusal is reported first.
BurnOutcome CloseDisc(EngineReporter& reporter, const std::string& drive, BurnOptions options);

}  // namespace SessionRecording
