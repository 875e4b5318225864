#include "RiffInfoReader.h"

#include <array>
#include <cstdint>
#include <fstream>

#include "Utf8Path.h"

namespace {
constexpr std::uint32_t kLongestText = 4096;

bool ReadHeader(std::istream& in, std::string& id, std::uint32_t& size) {
    std::array<unsigned char, 8> bytes{};
    if (!in.read(reinterpret_cast<char*>(bytes.data()), bytes.size())) return false;
    id.assign(bytes.begin(), bytes.begin() + 4);
    size = bytes[4] | (bytes[5] << 8) | (bytes[6] << 16) | (std::uint32_t{bytes[7]} << 24);
    return true;
}

// The sub-chunks of a LIST INFO of `size` bytes (its type already read).
void ReadInfo(std::istream& in, std::uint32_t size, AudioTags& tags) {
    std::string id;
    std::uint32_t length = 0;
    for (std::uint32_t left = size; left >= 8 && ReadHeader(in, id, length);) {
        const std::uint32_t padded = length + (length & 1);
        if (padded > left - 8) return;
        left -= 8 + padded;
        std::string* field = id == "INAM"   ? &tags.title
                             : id == "IART" ? &tags.performer
                             : id == "IPRD" ? &tags.album
                                            : nullptr;
        if (field == nullptr || length > kLongestText) {
            in.seekg(padded, std::ios::cur);
            continue;
        }
        std::string text(padded, '\0');
        if (!in.read(text.data(), padded)) return;
        *field = text.substr(0, text.find('\0'));
    }
}
}  // namespace

AudioTags RiffInfoReader::Read(std::istream& in) {
    AudioTags tags;
    std::string id;
    std::uint32_t size = 0;
    std::array<char, 4> type{};
    if (!ReadHeader(in, id, size) || id != "RIFF" || !in.read(type.data(), 4) ||
        std::string(type.data(), 4) != "WAVE")
        return tags;
    while (ReadHeader(in, id, size)) {
        const std::uint32_t padded = size + (size & 1);
        std::uint32_t skip = padded;
        if (id == "LIST" && size >= 4) {
            if (!in.read(type.data(), 4)) break;
            if (std::string(type.data(), 4) == "INFO") {
                ReadInfo(in, size - 4, tags);
                break;
            }
            skip -= 4;
        }
        if (!in.seekg(skip, std::ios::cur)) break;
    }
    tags.Normalise();
    return tags;
}

AudioTags RiffInfoReader::Read(const std::string& path) {
    std::ifstream in(Utf8Path(path), std::ios::binary);
    return Read(in);
}
