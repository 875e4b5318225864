#include "AudioFileFacts.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <filesystem>

#include "SoundFileDecoder.h"
#include "Utf8Path.h"
#include "WaveFileLayout.h"
#include "clsWav2Cda.h"
#include "modACM.h"

namespace {
constexpr std::int64_t kCdRate = 44100;
constexpr std::int64_t kCdFrameBytes = 4;
constexpr std::int64_t kFramesPerSector = 2352 / kCdFrameBytes;

bool EndsInDotWav(const std::string& path) {
    if (path.size() < 4) return false;
    std::string ending = path.substr(path.size() - 4);
    std::transform(ending.begin(), ending.end(), ending.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return ending == ".WAV";
}

std::optional<std::int64_t> ModifiedSeconds(const std::string& path) {
    std::error_code error;
    const auto stamp = std::filesystem::last_write_time(Utf8Path(path), error);
    if (error) return std::nullopt;
    const auto system = std::chrono::file_clock::to_sys(stamp);
    return std::chrono::duration_cast<std::chrono::seconds>(system.time_since_epoch()).count();
}

AudioFileFacts Refused(std::string reason) {
    AudioFileFacts facts;
    facts.refusal = std::move(reason);
    return facts;
}
}  // namespace

AudioFileFacts InspectAudioFile(const std::string& path) {
    if (!EndsInDotWav(path) && !SoundFileDecoder::HandlesName(path))
        return Refused("not a WAV, FLAC, MP3 or Ogg file");
    clsWav2Cda converter;
    converter.SetSource(path);
    if (converter.Source().empty()) return Refused(converter.RefusalReason());
    const std::int64_t frames = converter.SourceFrames();
    const std::int64_t rate = converter.SourceFormat().samplesPerSec;
    if (frames < 1) return Refused("holds no sound");
    const std::int64_t cdFrames = (frames * kCdRate + rate - 1) / rate;
    std::error_code error;
    const auto fileBytes = std::filesystem::file_size(Utf8Path(path), error);
    if (error) return Refused("cannot be read");
    AudioFileFacts facts;
    facts.accepted = true;
    facts.fileBytes = static_cast<std::int64_t>(fileBytes);
    if (converter.SourceDecoded()) {
        facts.soundBytes = cdFrames * kCdFrameBytes;
        facts.seconds = static_cast<std::int32_t>(frames / rate);
    } else {
        facts.soundBytes = ReadWaveFileLayout(path).dataSize;
        facts.seconds = modACM::WavDurationSeconds(path);
    }
    if (facts.seconds < 0) return Refused("cannot be read");
    facts.cdSectors = (cdFrames + kFramesPerSector - 1) / kFramesPerSector;
    facts.modified = ModifiedSeconds(path);
    return facts;
}
