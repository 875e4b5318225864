#include "modACM.h"

#include <limits>

#include "WaveFileLayout.h"

namespace modACM {

std::int32_t WavDurationSeconds(const std::string& path) {
    const WaveFileLayout layout = ReadWaveFileLayout(path);
    if (!layout.Ok() || layout.format.avgBytesPerSec == 0) return -1;
    const std::int64_t seconds = layout.dataSize / layout.format.avgBytesPerSec;
    return static_cast<std::int32_t>(
        std::min<std::int64_t>(seconds, std::numeric_limits<std::int32_t>::max()));
}

}  // namespace modACM
