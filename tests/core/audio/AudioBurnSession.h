#pragma once

#include <string>
#include <vector>

#include "AudioBurnEngine.h"
#include "IsolatedProgramFolders.h"
#include "ScriptedReporter.h"
#include "VirtualDriveSession.h"

// A virtual drive session for audio recordings: the program's folders
// emptied, CD-DA WAV files to record, and the engine run with the built-in texts.
class AudioBurnSession : public VirtualDriveSession {
  public:
    // A CD-DA WAV of `bytes` data bytes (a counting pattern that differs per `seed`).
    std::string PutCdda(const std::string& name, std::size_t bytes, int seed = 0);
    // The program's temporary track file.
    static std::string TempTrack();

    // Runs StartAudioBurn with the built-in texts.
    AudioBurnOutcome Start(const std::vector<std::string>& tracks, AudioBurnOptions options = {});
    // The recorded PCM of track n (empty when there is none).
    std::string Track(int number);

    ScriptedReporter reporter;
    std::vector<std::string> counters;  // track counter texts shown

  private:
    IsolatedProgramFolders m_programFolders;
};

// The data of a CD-DA WAV file (its "data" chunk), empty when unreadable.
std::string CddaData(const std::string& path);
// Empty when `recorded` starts with `sound` and holds only silence after it
// (the last block's fill, the drive's padding to the minimum track length);
// otherwise where and how they differ.
std::string RecordedDifference(const std::string& recorded, const std::string& sound);
