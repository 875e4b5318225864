#include "clsWav2Cda.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <vector>

#include "CddaResampler.h"
#include "CddaWaveHeader.h"

namespace {
// Source bytes per block: large enough that the per-block costs vanish,
// small enough that a conversion never holds more than a few MiB.
constexpr std::size_t kBlockBytes = 256 * 1024;
constexpr std::int64_t kHeaderBytes = 44;

bool EndsInWav(const std::string& path) {
    if (path.size() < 3) return false;
    std::string ending = path.substr(path.size() - 3);
    for (char& c : ending) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ending == "wav";
}

bool SameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    return std::filesystem::equivalent(a, b, error) && !error;
}
}  // namespace

bool clsWav2Cda::FileFound(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

void clsWav2Cda::SetSource(const std::string& path) {
    m_source.clear();
    if (!EndsInWav(path)) {
        m_refusal = "not a .wav file";
        return;
    }
    if (!FileFound(path)) {
        m_refusal = "not found or not a regular file";
        return;
    }
    const WaveFileLayout layout = ReadWaveFileLayout(path);
    if (!layout.Ok()) {
        m_refusal = WaveProblemText(layout.problem);
        return;
    }
    if (layout.format.Encoding() == SampleEncoding::kUnsupported) {
        m_refusal = "unsupported sample format";
        return;
    }
    m_refusal.clear();
    m_sourceFormat = layout.format;
    m_source = path;
}

std::int32_t clsWav2Cda::Convert() {
    if (m_source.empty() || m_destination.empty()) return kNothingDone;
    // Replacing the destination would delete the source itself.
    if (SameFile(m_source, m_destination)) return kNothingDone;
    if (m_sourceFormat.IsCdda()) {
        m_destination = m_source;
        return kDone;
    }
    const std::size_t frames = kBlockBytes / m_sourceFormat.blockAlign;
    const auto resampler = CddaResampler::Create(m_sourceFormat, frames);
    if (!resampler) return kConverterFailed;
    // The file is read again: it may have changed since it was accepted.
    const WaveFileLayout layout = ReadWaveFileLayout(m_source);
    if (!layout.Ok() || layout.format != m_sourceFormat) return kBlockFailed;
    std::error_code error;
    if (!std::filesystem::is_directory(m_destination, error))
        std::filesystem::remove(m_destination, error);
    const std::int32_t status = ConvertData(layout, *resampler);
    // A partial file must not be mistaken for a track.
    if (status != kDone) std::filesystem::remove(m_destination, error);
    return status;
}

std::int32_t clsWav2Cda::ConvertData(const WaveFileLayout& layout, CddaResampler& resampler) {
    std::ifstream in(m_source, std::ios::binary);
    std::ofstream out(m_destination, std::ios::binary | std::ios::trunc);
    if (!in || !out) return kBlockFailed;
    in.seekg(layout.dataOffset);
    const std::vector<char> room(kHeaderBytes, 0);  // the header is written last
    out.write(room.data(), kHeaderBytes);
    if (ConvertBlocks(in, out, layout, resampler) != kDone) return kBlockFailed;
    const std::int64_t length = out.tellp();
    if (length < kHeaderBytes || !WriteWaveHeader(out, length)) return kBlockFailed;
    out.close();
    return out.fail() ? kBlockFailed : kDone;
}

std::int32_t clsWav2Cda::ConvertBlocks(std::istream& in, std::ostream& out,
                                       const WaveFileLayout& layout, CddaResampler& resampler) {
    const std::int64_t frameBytes = m_sourceFormat.blockAlign;
    const std::int64_t total = layout.dataSize / frameBytes * frameBytes;  // whole frames only
    const std::size_t blockFrames = kBlockBytes / frameBytes;
    std::vector<std::uint8_t> block(blockFrames * frameBytes);
    std::vector<std::uint8_t> converted;
    std::int64_t done = 0;
    do {
        const std::int64_t bytes = std::min<std::int64_t>(total - done, block.size());
        in.read(reinterpret_cast<char*>(block.data()), bytes);
        if (in.gcount() != bytes) return kBlockFailed;  // the file shrank meanwhile
        if (!resampler.Process(block.data(), bytes / frameBytes, converted)) return kBlockFailed;
        out.write(reinterpret_cast<const char*>(converted.data()),
                  static_cast<std::streamsize>(converted.size()));
        if (!out) return kBlockFailed;
        done += bytes;
        RaiseProgress(done, total);
    } while (done < total);
    if (!resampler.Flush(converted)) return kBlockFailed;
    out.write(reinterpret_cast<const char*>(converted.data()),
              static_cast<std::streamsize>(converted.size()));
    return out ? kDone : kBlockFailed;
}

void clsWav2Cda::RaiseProgress(std::int64_t done, std::int64_t total) {
    if (!m_progress) return;
    const double percent = total > 0 ? double(done) * 100.0 / double(total) : 100.0;
    m_progress(static_cast<std::int16_t>(std::nearbyint(percent)));
}

bool clsWav2Cda::WriteWaveHeader(std::ostream& file, std::int64_t length) {
    const auto header = CddaWaveHeader(length);
    file.seekp(0);
    file.write(reinterpret_cast<const char*>(header.data()), header.size());
    file.flush();
    return static_cast<bool>(file);
}
