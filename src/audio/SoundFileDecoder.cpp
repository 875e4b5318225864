#include "SoundFileDecoder.h"

#include <sndfile.h>

#include <algorithm>
#include <bit>
#include <cctype>
#include <filesystem>
#include <vector>

#include "Mp3Length.h"
#include "Utf8Path.h"
#ifdef _WIN32
#include "WideText.h"
#endif

// The resampler reads little-endian samples; libsndfile delivers the host's order.
static_assert(std::endian::native == std::endian::little);

namespace {
constexpr int kHighestRate = 768000;
// Frames read back from the end of a file to prove the decoder gets there.
constexpr sf_count_t kEndCheckFrames = 588;

struct Kind {
    const char* ending;
    int major;
    const char* refusal;
};
constexpr Kind kKinds[] = {
    {".flac", SF_FORMAT_FLAC, "not a FLAC file"}, {".mp3", SF_FORMAT_MPEG, "not an MP3 file"},
    {".ogg", SF_FORMAT_OGG, "not an Ogg file"},   {".oga", SF_FORMAT_OGG, "not an Ogg file"},
    {".opus", SF_FORMAT_OGG, "not an Ogg file"},
};

const Kind* KindOfName(const std::string& path) {
    std::string lower = path;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const Kind& kind : kKinds) {
        const std::string ending = kind.ending;
        if (lower.size() >= ending.size() && lower.ends_with(ending)) return &kind;
    }
    return nullptr;
}

// 16-bit reads keep CD-format FLAC exact; deeper FLAC keeps its resolution
// until the resampler dithers it; decoded lossy formats are float already.
int BytesPerSample(int subtype) {
    switch (subtype) {
        case SF_FORMAT_PCM_S8:
        case SF_FORMAT_PCM_U8:
        case SF_FORMAT_PCM_16:
            return 2;
        default:
            return 4;
    }
}

// Why the header rules the file out, empty when it does not.
std::string HeaderRefusal(const SF_INFO& info, const Kind& kind) {
    if ((info.format & SF_FORMAT_TYPEMASK) != kind.major) return kind.refusal;
    if (info.channels < 1 || info.channels > 2)
        return std::to_string(info.channels) + " channels: only mono and stereo can be recorded";
    if (info.samplerate < 1 || info.samplerate > kHighestRate) return "unsupported sample rate";
    return "";
}

// sf_open takes an ANSI name on Windows: a name outside the system's code
// page opens only through sf_wchar_open.
SNDFILE* OpenForReading(const std::string& path, SF_INFO& info) {
#ifdef _WIN32
    return sf_wchar_open(Wide(path).c_str(), SFM_READ, &info);
#else
    return sf_open(path.c_str(), SFM_READ, &info);
#endif
}
}  // namespace

bool SoundFileDecoder::HandlesName(const std::string& path) {
    return KindOfName(path) != nullptr;
}

std::unique_ptr<SoundFileDecoder> SoundFileDecoder::Open(const std::string& path,
                                                         std::string& reason,
                                                         AudioRefusal* refusal) {
    AudioRefusal ignored = AudioRefusal::None;
    AudioRefusal& why = refusal != nullptr ? *refusal : ignored;
    const Kind* kind = KindOfName(path);
    std::error_code error;
    // libsndfile would wait forever on a pipe.
    if (kind == nullptr || !std::filesystem::is_regular_file(Utf8Path(path), error)) {
        reason = "not found or not a regular file";
        why = AudioRefusal::Missing;
        return nullptr;
    }
    // An MP3's frames are counted first, quietly: libsndfile only estimates
    // its length, and its MPEG decoder reports every false start on stderr.
    const std::int64_t mp3Frames = kind->major == SF_FORMAT_MPEG ? Mp3FrameCount(path) : 0;
    why = AudioRefusal::NotSound;
    if (mp3Frames < 0) {
        reason = kind->refusal;
        return nullptr;
    }
    SF_INFO info{};
    SNDFILE* file = OpenForReading(path, info);
    if (file == nullptr) {
        reason = "the decoder does not recognise it as sound";
        return nullptr;
    }
    const int major = info.format & SF_FORMAT_TYPEMASK;
    const SampleType type = major != SF_FORMAT_FLAC ? SampleType::kFloat
                            : BytesPerSample(info.format & SF_FORMAT_SUBMASK) == 2
                                ? SampleType::kShort
                                : SampleType::kInt;
    std::unique_ptr<SoundFileDecoder> decoder(
        new SoundFileDecoder(file, type, info.channels, info.samplerate));
    reason = HeaderRefusal(info, *kind);
    if (!reason.empty()) return nullptr;
    why = AudioRefusal::None;
    const bool mp3 = major == SF_FORMAT_MPEG;
    // A FLAC written to a pipe gives 0 as its length: its frames are counted.
    const bool unknown =
        major == SF_FORMAT_FLAC && (info.frames <= 0 || info.frames == SF_COUNT_MAX);
    const std::int64_t frames = mp3 ? mp3Frames : unknown ? decoder->DecodedFrames() : info.frames;
    reason = decoder->CheckedFrames(frames, mp3 || unknown, why);
    if (!reason.empty()) return nullptr;
    return decoder;
}

SoundFileDecoder::SoundFileDecoder(SNDFILE* file, SampleType type, int channels, int rate)
    : m_file(file), m_type(type) {
    const int bytes = type == SampleType::kShort ? 2 : 4;
    m_format.formatTag = type == SampleType::kFloat ? WavFormat::kTagFloat : WavFormat::kTagPcm;
    m_format.subFormat = m_format.formatTag;
    m_format.channels = static_cast<std::uint16_t>(std::clamp(channels, 0, 0xFFFF));
    m_format.samplesPerSec = static_cast<std::uint32_t>(std::max(rate, 0));
    m_format.bitsPerSample = static_cast<std::uint16_t>(bytes * 8);
    m_format.blockAlign = static_cast<std::uint16_t>(m_format.channels * bytes);
    m_format.avgBytesPerSec = m_format.samplesPerSec * m_format.blockAlign;
}

SoundFileDecoder::~SoundFileDecoder() {
    sf_close(m_file);
}

// FLAC and Ogg state their length exactly; a FLAC cut short promises more
// than it holds. (A count made frame by frame is what the file holds.)
std::string SoundFileDecoder::CheckedFrames(std::int64_t frames, bool counted, AudioRefusal& kind) {
    m_frames = frames;
    kind = AudioRefusal::Unreadable;
    if (m_frames < 0 || m_frames == SF_COUNT_MAX) return "its length cannot be read";
    kind = AudioRefusal::Silent;
    if (m_frames == 0) return "holds no sound";
    kind = AudioRefusal::CutShort;
    if (!counted && !EndReachable()) return "cut short: the decoder cannot read up to its end";
    kind = AudioRefusal::None;
    return "";
}

std::int64_t SoundFileDecoder::DecodedFrames() {
    constexpr std::int64_t kStep = 65536;
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(kStep) * m_format.blockAlign);
    std::int64_t total = 0;
    for (std::int64_t got = 0; (got = Read(buffer.data(), kStep)) != 0; total += got)
        if (got < 0) return -1;
    return sf_seek(m_file, 0, SEEK_SET) == 0 ? total : -1;
}

bool SoundFileDecoder::EndReachable() {
    const sf_count_t tail = std::min<sf_count_t>(m_frames, kEndCheckFrames);
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(tail) * m_format.blockAlign);
    if (sf_seek(m_file, m_frames - tail, SEEK_SET) < 0) return false;
    const bool read = Read(buffer.data(), tail) == tail;
    return sf_seek(m_file, 0, SEEK_SET) == 0 && read;
}

std::int64_t SoundFileDecoder::Read(std::uint8_t* out, std::int64_t frames) {
    sf_count_t read = 0;
    switch (m_type) {
        case SampleType::kShort:
            read = sf_readf_short(m_file, reinterpret_cast<short*>(out), frames);
            break;
        case SampleType::kInt:
            read = sf_readf_int(m_file, reinterpret_cast<int*>(out), frames);
            break;
        case SampleType::kFloat:
            read = sf_readf_float(m_file, reinterpret_cast<float*>(out), frames);
            break;
    }
    return sf_error(m_file) != SF_ERR_NO_ERROR ? -1 : read;
}
