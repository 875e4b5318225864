#include "RecordingTestEnvironment.h"

#include <cstring>
#include <random>

std::string RandomImage(std::size_t bytes, unsigned seed, std::int64_t volumeBlocks) {
    std::mt19937 random(seed);
    std::string image(bytes, '\0');
    for (char& c : image) c = static_cast<char>(random());
    if (image.size() >= 17 * 2048) {
        char* pvd = image.data() + 16 * 2048;
        pvd[0] = volumeBlocks > 0 ? 1 : 0x55;  // a sector that is no descriptor
        if (volumeBlocks > 0) {
            std::memcpy(pvd + 1, "CD001", 5);
            pvd[6] = 1;
            for (int i = 0; i < 4; ++i) {
                pvd[80 + i] = static_cast<char>(volumeBlocks >> (8 * i));
                pvd[87 - i] = static_cast<char>(volumeBlocks >> (8 * i));
            }
        }
    }
    return image;
}
