#include "ImageContent.h"

#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "EngineMessages.h"
#include "Utf8Path.h"
#include "VolumeSpaceSize.h"

namespace {
constexpr std::streamoff kSector16 = 16 * 2048;
}  // namespace

ImageContent ExamineImage(const std::string& path) {
    std::ifstream file(Utf8Path(path), std::ios::binary);
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

std::int64_t DeclaredImageBlocks(const std::string& path) {
    std::ifstream file(Utf8Path(path), std::ios::binary);
    std::vector<char> head(kDeclaringBytes, 0);
    if (!file.read(head.data(), static_cast<std::streamsize>(head.size()))) return 0;
    return DeclaredVolumeBlocks(
        std::span(reinterpret_cast<const std::uint8_t*>(head.data()), head.size()));
}

std::string CutImageProblem(const std::string& path) {
    const std::int64_t declared = DeclaredImageBlocks(path) * 2048;
    std::error_code error;
    const auto bytes = static_cast<std::int64_t>(std::filesystem::file_size(Utf8Path(path), error));
    if (error || declared <= bytes) return {};
    return Text(EngineMessage::ImageCut, {path, std::to_string(declared), std::to_string(bytes)});
}
