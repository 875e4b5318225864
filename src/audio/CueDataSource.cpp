#include "CueDataSource.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <vector>

#include "Utf8Path.h"

namespace {
constexpr std::int64_t kRawBytes = 2352, kUserOffset = 16, kModeByte = 15;
constexpr std::int64_t kVolumeDescriptor = 16;  // the sector of an ISO 9660 volume's first one
}  // namespace

std::optional<CueSheetReader::Problem> CueDataSource::Open(const CueSheet& sheet) {
    const CueSheet::Track& track = sheet.tracks.front();
    const CueSheet::File& file = sheet.files[track.file];
    m_path = file.path;
    m_sectorBytes = track.SectorBytes();
    m_postgap = track.postgap;
    std::error_code error;
    const std::filesystem::path path = Utf8Path(m_path);
    const auto bytes = std::filesystem::is_regular_file(path, error)
                           ? static_cast<std::int64_t>(std::filesystem::file_size(path, error))
                           : -1;
    m_file.open(path, std::ios::binary);
    if (bytes < 0 || error || !m_file)
        return CueSheetReader::Problem{file.line, CueSheetText::FileMissing, {m_path}};
    if (bytes == 0 || bytes % m_sectorBytes != 0)
        return CueSheetReader::Problem{file.line, CueSheetText::FileShort, {m_path}};
    m_sectors = bytes / m_sectorBytes;
    std::vector<std::uint8_t> sector(static_cast<std::size_t>(kUserBytes));
    for (m_next = 0; m_next < m_sectors; ++m_next) {
        if (!ReadSector(sector.data()))
            return CueSheetReader::Problem{
                track.line, CueSheetText::NotMode1, {m_path, std::to_string(m_next)}};
        if (m_next == kVolumeDescriptor)
            m_declares = std::memcmp(sector.data(),
                                     "\x01"
                                     "CD001",
                                     6) == 0;
        if (m_sectorBytes == kUserBytes && m_next >= kVolumeDescriptor) break;  // nothing to check
    }
    m_next = 0;
    m_file.clear();
    m_file.seekg(0);
    return std::nullopt;
}

bool CueDataSource::ReadSector(std::uint8_t* out) {
    std::array<char, kRawBytes> raw{};
    if (!m_file.read(raw.data(), m_sectorBytes)) {
        m_error = "cannot be read";
        return false;
    }
    if (m_sectorBytes == kUserBytes) {
        std::memcpy(out, raw.data(), kUserBytes);
        return true;
    }
    if (raw[kModeByte] != 1) {
        m_error = "sector " + std::to_string(m_next) + " is not a Mode 1 sector";
        return false;
    }
    std::memcpy(out, raw.data() + kUserOffset, kUserBytes);
    return true;
}

bool CueDataSource::ReadChunk(std::span<std::uint8_t> chunk) {
    std::fill(chunk.begin(), chunk.end(), std::uint8_t{0});
    for (std::size_t at = 0; at + kUserBytes <= chunk.size() && HasMore();
         at += kUserBytes, ++m_next)
        if (m_next < m_sectors && !ReadSector(chunk.data() + at)) return false;
    return true;
}
