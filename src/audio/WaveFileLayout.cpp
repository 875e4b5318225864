#include "WaveFileLayout.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "Utf8Path.h"

namespace {
constexpr std::int64_t kRiffHeaderBytes = 12;  // "RIFF", size, "WAVE"
constexpr std::int64_t kChunkHeaderBytes = 8;  // id, little-endian size
constexpr std::uint32_t kMinimumFormatBytes = 16;
constexpr std::uint32_t kExtensibleFormatBytes = 40;
// Real files carry a handful of chunks; the bound keeps a file made of
// millions of empty chunks from turning a look at its header into a long scan.
constexpr int kMostChunks = 4096;
// Bytes 4..15 of the two standard sub-format GUIDs (KSDATAFORMAT_SUBTYPE_PCM
// and _IEEE_FLOAT); bytes 0..3 hold the format tag.
constexpr std::array<std::uint8_t, 12> kSubFormatTail = {0x00, 0x00, 0x10, 0x00, 0x80, 0x00,
                                                         0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

std::uint16_t Le16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
std::uint32_t Le32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
           (std::uint32_t{p[3]} << 24);
}

bool ReadAt(std::istream& in, std::int64_t offset, std::uint8_t* buffer, std::int64_t count) {
    in.clear();
    in.seekg(offset);
    in.read(reinterpret_cast<char*>(buffer), count);
    return in.gcount() == count;
}

// The fields of a "fmt " chunk body of `size` bytes (at least 16 are there).
WavFormat ParseFormat(const std::uint8_t* body, std::uint32_t size) {
    WavFormat format;
    format.formatTag = Le16(body + 0);
    format.channels = Le16(body + 2);
    format.samplesPerSec = Le32(body + 4);
    format.avgBytesPerSec = Le32(body + 8);
    format.blockAlign = Le16(body + 12);
    format.bitsPerSample = Le16(body + 14);
    format.extraSize = size >= 18 ? Le16(body + 16) : 0;
    format.subFormat = format.formatTag;
    if (format.formatTag == WavFormat::kTagExtensible) {
        // WAVEFORMATEXTENSIBLE: cbSize 22, valid bits, channel mask, GUID at 24.
        const bool complete = size >= kExtensibleFormatBytes && format.extraSize >= 22;
        const std::uint8_t* guid = body + 24;
        const bool standard = complete && guid[2] == 0 && guid[3] == 0 &&
                              std::memcmp(guid + 4, kSubFormatTail.data(), 12) == 0;
        format.subFormat = standard ? Le16(guid) : 0;
    }
    return format;
}
}  // namespace

WaveFileLayout ReadWaveFileLayout(std::istream& in, std::int64_t fileSize) {
    WaveFileLayout layout;
    layout.fileSize = fileSize;
    std::array<std::uint8_t, kExtensibleFormatBytes> buffer{};
    if (fileSize < kRiffHeaderBytes || !ReadAt(in, 0, buffer.data(), kRiffHeaderBytes)) {
        // Cut short only when what is there starts as a RIFF file does.
        const auto have = static_cast<std::size_t>(std::clamp<std::int64_t>(fileSize, 0, 4));
        const bool riff = ReadAt(in, 0, buffer.data(), static_cast<std::int64_t>(have)) &&
                          std::memcmp(buffer.data(), "RIFF", have) == 0;
        layout.problem = riff ? WaveProblem::kTruncated : WaveProblem::kNotRiffWave;
        return layout;
    }
    if (std::memcmp(buffer.data(), "RIFF", 4) != 0 ||
        std::memcmp(buffer.data() + 8, "WAVE", 4) != 0) {
        layout.problem = WaveProblem::kNotRiffWave;
        return layout;
    }
    bool haveFormat = false, haveData = false;
    std::int64_t at = kRiffHeaderBytes;
    for (int chunk = 0; chunk < kMostChunks && at + kChunkHeaderBytes <= fileSize; ++chunk) {
        if (!ReadAt(in, at, buffer.data(), kChunkHeaderBytes)) {
            layout.problem = WaveProblem::kCannotRead;
            return layout;
        }
        const std::uint32_t size = Le32(buffer.data() + 4);
        const std::int64_t body = at + kChunkHeaderBytes;
        if (std::memcmp(buffer.data(), "fmt ", 4) == 0) {
            const std::int64_t wanted = std::min<std::int64_t>(size, kExtensibleFormatBytes);
            if (size < kMinimumFormatBytes || body + size > fileSize ||
                !ReadAt(in, body, buffer.data(), wanted)) {
                layout.problem = WaveProblem::kTruncated;
                return layout;
            }
            layout.format = ParseFormat(buffer.data(), size);
            haveFormat = true;
        } else if (std::memcmp(buffer.data(), "data", 4) == 0) {
            const std::int64_t available = fileSize - body;
            const bool toEnd = size == 0 || size == 0xFFFFFFFFu || size > available;
            layout.dataOffset = body;
            layout.dataSize = toEnd ? available : size;
            haveData = true;
            if (toEnd) break;  // nothing can follow a chunk that runs to the end
        }
        if (haveFormat && haveData) break;
        at = body + size + (size & 1U);  // chunks are padded to an even length
    }
    if (!haveFormat)
        layout.problem = WaveProblem::kNoFormat;
    else if (!haveData)
        layout.problem = WaveProblem::kNoData;
    else
        layout.problem = WaveProblem::kNone;
    return layout;
}

WaveFileLayout ReadWaveFileLayout(const std::string& path) {
    std::error_code error;
    WaveFileLayout failed;
    const std::filesystem::path name = Utf8Path(path);
    if (!std::filesystem::is_regular_file(name, error)) return failed;
    const auto size = std::filesystem::file_size(name, error);
    if (error) return failed;
    std::ifstream in(name, std::ios::binary);
    if (!in) return failed;
    return ReadWaveFileLayout(in, static_cast<std::int64_t>(size));
}

const char* WaveProblemText(WaveProblem problem) {
    switch (problem) {
        case WaveProblem::kNone:
            return "no problem";
        case WaveProblem::kCannotRead:
            return "cannot be read";
        case WaveProblem::kNotRiffWave:
            return "not a RIFF/WAVE file";
        case WaveProblem::kTruncated:
            return "truncated header";
        case WaveProblem::kNoFormat:
            return "no format chunk";
        case WaveProblem::kNoData:
            return "no data chunk";
    }
    return "unknown problem";
}
