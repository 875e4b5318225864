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
int BytesPerSample(SampleEncoding encoding) {
    switch (encoding) {
        case SampleEncoding::kUnsigned8:
            return 1;
        case SampleEncoding::kSigned16:
            return 2;
        case SampleEncoding::kSigned24:
            return 3;
        case SampleEncoding::kSigned32:
        case SampleEncoding::kFloat32:
            return 4;
        case SampleEncoding::kUnsupported:
            break;
    }
    return 0;
}
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
    const int width = BytesPerSample(format.Encoding());
    if (width == 0) return 0;
    if (format.channels < 1 || format.channels > 2 || format.samplesPerSec == 0 ||
        format.blockAlign != format.channels * width)
        std::abort();
    if (format.IsCdda() && format.Encoding() != SampleEncoding::kSigned16) std::abort();
    return 0;
}
