#pragma once

#include <cstdint>
#include <string>

class EngineReporter;

// What an operation stopped on the user's request left on the disc.
enum class DiscAfterStop {
    Unchanged,     // nothing was written
    Unfinished,    // blocks were written: the recording on it is incomplete
    PartlyErased,  // an erase by overwriting stopped part-way
    NoImage,       // a copy or image build stopped: no image file was kept
};

// The message of a stop: that the operation stopped and the state of the
// disc, which for an unfinished recording depends on the medium (`mediaType`
// as GetMediaType numbers it): a write-once disc is lost, a rewritable one
// needs erasing, an overwritable one (DVD+RW, DVD-RAM, BD-RE) a new recording.
// Texts of the language file's "Engines" keys, built-in Simplified Chinese.
std::string StoppedMessage(DiscAfterStop state, std::int32_t mediaType);

// Ends an operation the user stopped: flushes the drive's cache when blocks
// were written (so they reach the disc and the drive is left idle), then
// shows the message above in panel 1 and as a message box.
void ReportStop(EngineReporter& reporter, const std::string& drive, DiscAfterStop state);
