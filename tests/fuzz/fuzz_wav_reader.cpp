// libFuzzer target: the WAV reader (the RIFF chunk walk, the "fmt " and
// "data" chunks) and the format rules the converter relies on. Any bytes
// are refused, or give a sound that lies inside the file; a
// format the converter accepts has one or two channels, a rate and whole
// frames of its sample width.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "WaveFileLayout.h"

namespace {
// Bytes per sample of each SampleEncoding, in its order (kUnsupported first).
constexpr int kBytesPerSample[] = {0, 1, 2, 3, 4, 4};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    const auto fileSize = static_cast<std::int64_t>(size);
    const WaveFileLayout layout = ReadWaveFileLayout(in, fileSize);
    if (!layout.Ok()) return 0;
    if (layout.fileSize != fileSize || layout.dataOffset < 0 || layout.dataSize < 0 ||
        layout.dataOffset + layout.dataSize > fileSize)
        std::abort();
    const WavFormat& format = layout.format;
    const int width = kBytesPerSample[static_cast<int>(format.Encoding())];
    if (width == 0) return 0;
    if (format.channels < 1 || format.channels > 2 || format.samplesPerSec == 0 ||
        format.blockAlign != format.channels * width)
        std::abort();
    if (format.IsCdda() && format.Encoding() != SampleEncoding::kSigned16) std::abort();
    return 0;
}
