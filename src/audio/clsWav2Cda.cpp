#include "clsWav2Cda.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <vector>

#include "CddaResampler.h"
#include "CddaWaveHeader.h"
#include "OutputFile.h"
#include "SoundFileDecoder.h"
#include "Utf8Path.h"
#include "WaveFileLayout.h"

namespace mfa = modFileAccess;

namespace {
// Source bytes per block: large enough that the per-block costs vanish,
// small enough that a conversion never holds more than a few MiB.
constexpr std::size_t kBlockBytes = 256 * 1024;
// CD-DA frames one block may turn into (256 KiB): a source at a very low rate
// (a few hertz) would otherwise ask for gigabytes per block.
constexpr std::size_t kBlockOutputFrames = 64 * 1024;
constexpr std::int64_t kHeaderBytes = 44;

// Source frames per block, within both limits above (at least one).
std::size_t BlockFrames(const WavFormat& format) {
    const std::size_t byInput = kBlockBytes / format.blockAlign;
    const std::size_t byOutput = kBlockOutputFrames * format.samplesPerSec / 44100;
    return std::max<std::size_t>(1, std::min(byInput, byOutput));
}

bool EndsInWav(const std::string& path) {
    if (path.size() < 3) return false;
    std::string ending = path.substr(path.size() - 3);
    for (char& c : ending) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ending == "wav";
}

bool SameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    return std::filesystem::equivalent(Utf8Path(a), Utf8Path(b), error) && !error;
}
}  // namespace

bool clsWav2Cda::FileFound(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(Utf8Path(path), error);
}

void clsWav2Cda::SetSource(const std::string& path) {
    m_source.clear();
    if (SoundFileDecoder::HandlesName(path)) {
        const auto decoder = SoundFileDecoder::Open(path, m_refusal, &m_refusalKind);
        if (decoder) Accept(path, decoder->Format(), decoder->Frames(), true);
        return;
    }
    if (!EndsInWav(path)) return Refuse(AudioRefusal::NotSound, "not a WAV, FLAC, MP3 or Ogg file");
    if (!FileFound(path)) return Refuse(AudioRefusal::Missing, "not found or not a regular file");
    const WaveFileLayout layout = ReadWaveFileLayout(path);
    if (!layout.Ok()) {
        const AudioRefusal kind =
            layout.problem == WaveProblem::kCannotRead  ? AudioRefusal::Unreadable
            : layout.problem == WaveProblem::kTruncated ? AudioRefusal::CutShort
                                                        : AudioRefusal::NotSound;
        return Refuse(kind, WaveProblemText(layout.problem));
    }
    if (layout.format.Encoding() == SampleEncoding::kUnsupported)
        return Refuse(AudioRefusal::NotSound, "unsupported sample format");
    Accept(path, layout.format, layout.dataSize / layout.format.blockAlign, false);
}

void clsWav2Cda::Refuse(AudioRefusal kind, std::string reason) {
    m_refusalKind = kind;
    m_refusal = std::move(reason);
}

void clsWav2Cda::Accept(const std::string& path, const WavFormat& format, std::int64_t frames,
                        bool decoded) {
    m_refusal.clear();
    m_refusalKind = AudioRefusal::None;
    m_sourceFormat = format;
    m_sourceFrames = frames;
    m_decoded = decoded;
    m_source = path;
}

std::int32_t clsWav2Cda::Convert() {
    if (m_source.empty() || m_destination.empty()) return kNothingDone;
    // Replacing the destination would delete the source itself.
    if (SameFile(m_source, m_destination)) return kNothingDone;
    if (!m_decoded && m_sourceFormat.IsCdda()) {
        m_destination = m_source;
        return kDone;
    }
    const auto resampler = CddaResampler::Create(m_sourceFormat, BlockFrames(m_sourceFormat));
    if (!resampler) return kConverterFailed;
    m_outputProblem.clear();
    m_cancelled = m_writeFailed = false;
    // The file is opened again: it may have changed since it was accepted.
    return m_decoded ? ConvertDecoded(*resampler) : ConvertWave(*resampler);
}

std::int32_t clsWav2Cda::ConvertWave(CddaResampler& resampler) {
    const WaveFileLayout layout = ReadWaveFileLayout(m_source);
    if (!layout.Ok() || layout.format != m_sourceFormat) return kBlockFailed;
    std::ifstream in(Utf8Path(m_source), std::ios::binary);
    if (!in) return kBlockFailed;
    in.seekg(layout.dataOffset);
    const std::int64_t frameBytes = m_sourceFormat.blockAlign;
    std::int64_t left = layout.dataSize / frameBytes;  // whole frames only
    return ConvertData(resampler, layout.dataSize / frameBytes,
                       [&](std::uint8_t* block, std::int64_t wanted) -> std::int64_t {
                           const std::int64_t count = std::min(wanted, left);
                           in.read(reinterpret_cast<char*>(block), count * frameBytes);
                           left -= count;
                           // A short read: the file shrank meanwhile.
                           return in.gcount() == count * frameBytes ? count : -1;
                       });
}

std::int32_t clsWav2Cda::ConvertDecoded(CddaResampler& resampler) {
    std::string reason;
    const auto decoder = SoundFileDecoder::Open(m_source, reason);
    if (!decoder || decoder->Format() != m_sourceFormat) return kBlockFailed;
    return ConvertData(resampler, decoder->Frames(), [&](std::uint8_t* block, std::int64_t wanted) {
        return decoder->Read(block, wanted);
    });
}

std::int32_t clsWav2Cda::ConvertData(CddaResampler& resampler, std::int64_t totalFrames,
                                     const FrameReader& read) {
    // A partial file is never mistaken for a track: the output takes its name
    // only when it is complete.
    OutputFile out;
    const std::vector<char> room(kHeaderBytes, 0);  // the header is written last
    if (out.Create(m_destination)) {
        m_writeFailed = mfa::FileWrite(out.File(), room.data(), kHeaderBytes) != kHeaderBytes;
        if (!m_writeFailed && ConvertBlocks(out.File(), resampler, totalFrames, read) == kDone) {
            m_writeFailed = !WriteWaveHeader(out.File(), mfa::FilePos(out.File()));
            if (!m_writeFailed && out.Commit()) return kDone;
        }
    }
    // The output's own failure is named, never blamed on the source.
    m_outputProblem =
        m_writeFailed ? "cannot write " + m_destination + ": " + mfa::LastErrorText() : out.Error();
    return kBlockFailed;
}

// Reads blocks until the reader has no more frames; a decoder may deliver
// a few frames fewer than it counted (the tail of a damaged MP3).
std::int32_t clsWav2Cda::ConvertBlocks(FileHandleRecord& out, CddaResampler& resampler,
                                       std::int64_t totalFrames, const FrameReader& read) {
    const auto write = [this, &out](const std::vector<std::uint8_t>& bytes) {
        const auto size = static_cast<std::int64_t>(bytes.size());
        m_writeFailed = size != 0 && mfa::FileWrite(out, bytes.data(), size) != size;
        return !m_writeFailed;
    };
    const std::size_t blockFrames = BlockFrames(m_sourceFormat);
    std::vector<std::uint8_t> block(blockFrames * m_sourceFormat.blockAlign);
    std::vector<std::uint8_t> converted;
    std::int64_t done = 0;
    for (;;) {
        if (m_cancelCheck && m_cancelCheck()) {
            m_cancelled = true;
            return kBlockFailed;
        }
        const std::int64_t frames = read(block.data(), static_cast<std::int64_t>(blockFrames));
        if (frames < 0) return kBlockFailed;
        if (frames == 0) break;
        if (!resampler.Process(block.data(), static_cast<std::size_t>(frames), converted))
            return kBlockFailed;
        if (!write(converted)) return kBlockFailed;
        done += frames;
        RaiseProgress(std::min(done, totalFrames), totalFrames);
    }
    if (done == 0) RaiseProgress(0, 0);  // an empty source is done at once
    return resampler.Flush(converted) && write(converted) ? kDone : kBlockFailed;
}

void clsWav2Cda::RaiseProgress(std::int64_t done, std::int64_t total) {
    if (!m_progress) return;
    const double percent = total > 0 ? double(done) * 100.0 / double(total) : 100.0;
    m_progress(static_cast<std::int16_t>(std::nearbyint(percent)));
}

bool clsWav2Cda::WriteWaveHeader(FileHandleRecord& file, std::int64_t length) {
    if (length < kHeaderBytes || mfa::FileSeek(file, 0, mfa::SeekMethod::Begin) != 0) return false;
    const auto header = CddaWaveHeader(length);
    const auto size = static_cast<std::int64_t>(header.size());
    return mfa::FileWrite(file, header.data(), size) == size;
}
