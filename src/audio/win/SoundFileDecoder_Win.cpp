// The Windows build is made without libsndfile and libmpg123 for now: it
// recognises FLAC, MP3 and Ogg files by name and refuses them with a reason,
// so that they are never taken for damaged WAV files.
#include <algorithm>
#include <array>
#include <cctype>

#include "SoundFileDecoder.h"

bool SoundFileDecoder::HandlesName(const std::string& path) {
    std::string name = path;
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    constexpr std::array<const char*, 5> kEndings = {".flac", ".mp3", ".ogg", ".oga", ".opus"};
    return std::any_of(kEndings.begin(), kEndings.end(),
                       [&](const char* ending) { return name.ends_with(ending); });
}

std::unique_ptr<SoundFileDecoder> SoundFileDecoder::Open(const std::string&, std::string& reason,
                                                         AudioRefusal* kind) {
    reason = "FLAC, MP3 and Ogg files are not read by the Windows build";
    if (kind != nullptr) *kind = AudioRefusal::NotSound;
    return nullptr;
}

SoundFileDecoder::~SoundFileDecoder() = default;

std::int64_t SoundFileDecoder::Read(std::uint8_t*, std::int64_t) {
    return -1;
}
