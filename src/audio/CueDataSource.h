#pragma once

#include <cstdint>
#include <fstream>
#include <optional>
#include <span>
#include <string>

#include "CueSheetReader.h"
#include "ImageSource.h"

// The data track of a cue sheet (MODE1/2048 or MODE1/2352) as the image a
// data recording writes: the 2048 user bytes of each sector; of a raw
// 2352-byte sector the bytes 16 to 2063, after its header said Mode 1;
// then the sectors of zeros of its POSTGAP.
class CueDataSource : public ImageSource {
  public:
    static constexpr std::int64_t kUserBytes = 2048;

    // Opens the track's file and reads every raw sector's header before
    // anything is recorded: a missing file, one that does not hold whole
    // sectors, or a sector that is not Mode 1 is refused by the sheet's line.
    std::optional<CueSheetReader::Problem> Open(const CueSheet& sheet);

    std::int64_t Length() const override { return (m_sectors + m_postgap) * kUserBytes; }
    // True when the track holds an ISO 9660 volume, as for an image file.
    bool DeclaresLength() const override { return m_declares; }
    bool HasMore() const override { return m_next < m_sectors + m_postgap; }
    bool ReadChunk(std::span<std::uint8_t> chunk) override;
    void Close() override { m_file.close(); }
    const std::string& Error() const override { return m_error; }
    std::string Name() const override { return m_path; }

  private:
    // The user bytes of the next sector into `out`; false when the file
    // cannot give them.
    bool ReadSector(std::uint8_t* out);

    std::ifstream m_file;
    std::string m_path, m_error;
    std::int64_t m_sectorBytes = kUserBytes;
    std::int64_t m_sectors = 0, m_next = 0;  // the file's sectors, the next one to give
    std::int64_t m_postgap = 0;
    bool m_declares = false;
};
