#include "AudioBurnSession.h"

#include <algorithm>

#include "AudioTestSignals.h"
#include "ProgramPaths.h"
#include "WaveFileLayout.h"
#include "clsEmulatedDrive.h"

std::string AudioBurnSession::PutCdda(const std::string& name, std::size_t bytes, int seed) {
    std::string data(bytes, '\0');
    for (std::size_t i = 0; i < bytes; ++i) data[i] = static_cast<char>(i * 7 + seed * 13 + 1);
    return Put(name, AudioTest::SimpleWave(WavFormat::Cdda(), data));
}

std::string AudioBurnSession::TempTrack() {
    return TempWavePath();
}

AudioBurnOutcome AudioBurnSession::Start(const std::vector<std::string>& tracks,
                                         AudioBurnOptions options) {
    AudioBurnEngine engine(reporter, options);
    engine.SetTrackCounterHandler([this](const std::string& text) { counters.push_back(text); });
    return engine.StartAudioBurn(Id(), tracks);
}

std::string AudioBurnSession::Track(int number) {
    std::vector<std::uint8_t> bytes;
    if (!Drive().ReadTrack(number, bytes)) return {};
    return {bytes.begin(), bytes.end()};
}

std::string CddaData(const std::string& path) {
    const WaveFileLayout layout = ReadWaveFileLayout(path);
    if (!layout.Ok()) return {};
    return ReadFile(path).substr(layout.dataOffset, layout.dataSize);
}

std::string RecordedDifference(const std::string& recorded, const std::string& sound) {
    if (recorded.size() < sound.size())
        return "recorded " + std::to_string(recorded.size()) + " bytes, sound has " +
               std::to_string(sound.size());
    const auto mismatch = std::mismatch(sound.begin(), sound.end(), recorded.begin());
    if (mismatch.first != sound.end())
        return "first difference at byte " + std::to_string(mismatch.first - sound.begin());
    const auto noise = std::find_if(recorded.begin() + static_cast<std::ptrdiff_t>(sound.size()),
                                    recorded.end(), [](char c) { return c != '\0'; });
    if (noise != recorded.end())
        return "non-zero byte after the sound at " + std::to_string(noise - recorded.begin());
    return {};
}
