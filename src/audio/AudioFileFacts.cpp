#include "AudioFileFacts.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <filesystem>

#include "WaveFileLayout.h"
#include "clsWav2Cda.h"
#include "modACM.h"

namespace {
constexpr std::int64_t kCdRate = 44100;
constexpr std::int64_t kFramesPerSector = 2352 / 4;

bool EndsInDotWav(const std::string& path) {
    if (path.size() < 4) return false;
    std::string ending = path.substr(path.size() - 4);
    std::transform(ending.begin(), ending.end(), ending.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return ending == ".WAV";
}

std::optional<std::int64_t> ModifiedSeconds(const std::string& path) {
    std::error_code error;
    const auto stamp = std::filesystem::last_write_time(path, error);
    if (error) return std::nullopt;
    const auto system = std::chrono::file_clock::to_sys(stamp);
    return std::chrono::duration_cast<std::chrono::seconds>(system.time_since_epoch()).count();
}
}  // namespace

AudioFileFacts InspectAudioFile(const std::string& path) {
    AudioFileFacts facts;
    if (!EndsInDotWav(path)) return facts;
    clsWav2Cda converter;
    converter.SetSource(path);
    if (converter.Source().empty()) return facts;
    const WavFormat& format = converter.SourceFormat();
    const WaveFileLayout layout = ReadWaveFileLayout(path);
    const std::int64_t frames = layout.dataSize / format.blockAlign;
    const std::int32_t seconds = modACM::WavDurationSeconds(path);
    if (!layout.Ok() || frames < 1 || seconds < 0) return facts;
    const std::int64_t cdFrames =
        (frames * kCdRate + format.samplesPerSec - 1) / format.samplesPerSec;
    facts.accepted = true;
    facts.fileBytes = layout.fileSize;
    facts.soundBytes = layout.dataSize;
    facts.seconds = seconds;
    facts.cdSectors = (cdFrames + kFramesPerSector - 1) / kFramesPerSector;
    facts.modified = ModifiedSeconds(path);
    return facts;
}
