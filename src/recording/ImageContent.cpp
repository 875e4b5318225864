#include "ImageContent.h"

#include <array>
#include <cstring>
#include <fstream>

namespace {
constexpr std::streamoff kSector16 = 16 * 2048;
}  // namespace

ImageContent ExamineImage(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return ImageContent::Unreadable;
    std::array<char, 6> head{};
    // Bytes 1-5 of the descriptor hold its standard identifier.
    if (!file.seekg(kSector16) || !file.read(head.data(), head.size()))
        return file.bad() ? ImageContent::Unreadable : ImageContent::NotAnImage;
    const char* identifier = head.data() + 1;
    if (std::memcmp(identifier, "CD001", 5) == 0) return ImageContent::Iso9660;
    for (const char* udf : {"BEA01", "NSR02", "NSR03"})
        if (std::memcmp(identifier, udf, 5) == 0) return ImageContent::Udf;
    return ImageContent::NotAnImage;
}
