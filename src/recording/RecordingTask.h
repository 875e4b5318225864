#pragma once

// The task the main window started, as the recording windows receive it.
namespace RecordingTask {
constexpr int kDataDisc = 0;  // image built by the data disc window (temporary)
constexpr int kAudioCd = 1;
constexpr int kRecordImage = 2;  // an image the user picked (never deleted)
constexpr int kCopyDisc = 3;     // image read from a source disc (temporary)
}  // namespace RecordingTask
