#include "FileSections.h"

#include "SectorMath.h"

namespace FileSections {

std::int64_t Count(std::int64_t size) {
    if (size < kOneExtentLimit) return 1;
    return (size + kSectionBytes - 1) / kSectionBytes;
}

std::vector<Section> Contiguous(std::int64_t firstSector, std::int64_t size) {
    std::vector<Section> sections;
    const std::int64_t count = Count(size);
    sections.reserve(static_cast<std::size_t>(count));
    for (std::int64_t i = 0; i < count; ++i) {
        const std::int64_t length = i + 1 < count ? kSectionBytes : size - i * kSectionBytes;
        sections.push_back(
            {static_cast<std::uint32_t>(firstSector + i * (kSectionBytes / kSectorBytes)),
             static_cast<std::uint32_t>(length)});
    }
    return sections;
}

}  // namespace FileSections
