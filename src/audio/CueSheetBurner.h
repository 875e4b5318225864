#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>

#include "BurnOptions.h"
#include "CueDataSource.h"
#include "CueSheetReader.h"
#include "ImageBurner.h"

class EngineReporter;

// Records a cue sheet (options.imagePath) as the record-image window and
// maple-cli burn do: an audio sheet Disc-At-Once through AudioBurnEngine, a
// data sheet's MODE1 track through ImageBurner. The sheet and a data
// track's file are read and checked (Read) before the drive is asked
// anything; a refusal names the sheet's line.
class CueSheetBurner {
  public:
    CueSheetBurner(EngineReporter& reporter, BurnOptions options);

    // True for a file named *.cue (in any case).
    static bool IsSheet(const std::string& path);

    // Reads the sheet and checks a data track's file; false after showing why.
    bool Read();
    bool IsAudio() const { return m_sheet.sheet.IsAudio(); }
    // The bytes a data track records (0 for audio).
    std::int64_t DataBytes() const { return IsAudio() ? 0 : m_data.Length(); }
    // Receives the track counter text of an audio recording.
    void SetTrackCounterHandler(std::function<void(const std::string&)> handler) {
        m_trackCounter = std::move(handler);
    }
    // The data track's write speed, chosen once the drive is known.
    void SetWriteSpeed(SpeedEntry speed) { m_options.writeSpeed = std::move(speed); }
    // Reads the sheet (unless Read did), then records it on the disc in `drive`.
    BurnOutcome Burn(const std::string& drive);

  private:
    EngineReporter& m_reporter;
    BurnOptions m_options;
    CueSheetReader::Result m_sheet;
    CueDataSource m_data;
    bool m_read = false;
    std::function<void(const std::string&)> m_trackCounter;
};
