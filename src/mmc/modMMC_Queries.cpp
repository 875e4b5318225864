// Composite queries: speeds, media type, disc status, presence, readiness, free space.
#include <array>
#include <cstring>

#include "MediaChanges.h"
#include "MediaClasses.h"
#include "ScsiStatus.h"
#include "SenseCodes.h"
#include "Sleeper.h"
#include "TransportSlot.h"
#include "modMMC.h"

namespace modMMC {

namespace {
constexpr std::uint8_t kPageCapabilities = 0x2A;
constexpr int kReadyPollMs = 200;

std::uint16_t BigEndian16(const std::uint8_t* bytes) {
    return static_cast<std::uint16_t>(bytes[0] << 8 | bytes[1]);
}

// Reads sector 16, where a file system keeps its volume descriptors.
bool ReadSector16(const std::string& drive, std::array<std::uint8_t, 2048>& sector) {
    return Read10(drive, 16, 1, sector.data(), static_cast<std::int32_t>(sector.size())) ==
           ScsiStatus::kGood;
}

// The start of the ISO 9660 standard identifier "CD001", loosely matched.
bool LooksLikeIsoDescriptor(const std::array<std::uint8_t, 2048>& sector) {
    return sector[1] == 'C' || sector[2] == 'D';
}

// ECMA-167 volume recognition sequence identifiers (bytes 1-5 of the sector).
bool HoldsVolumeRecognition(const std::array<std::uint8_t, 2048>& sector) {
    static constexpr const char* kIdentifiers[] = {"CD001", "BEA01", "NSR02", "NSR03",
                                                   "TEA01", "BOOT2", "CDW02"};
    for (const char* identifier : kIdentifiers)
        if (std::memcmp(sector.data() + 1, identifier, 5) == 0) return true;
    return false;
}

std::int64_t BigEndian32(const std::uint8_t* bytes) {
    return std::int64_t{BigEndian16(bytes)} << 16 | BigEndian16(bytes + 2);
}

// Bytes 20-23 of READ DISC INFORMATION, the last possible lead-out start: MSF
// on CD (LBA 0 lies at 00:02:00), an LBA on other media; FFh on a finished disc.
std::int64_t LastLeadOutStart(const DiscInformationBlock& disc, std::int32_t media) {
    if (BigEndian32(&disc[20]) == 0xFFFFFFFF) return -1;
    if (media > Media::kCDRW) return BigEndian32(&disc[20]);
    return (disc[21] * 60 + disc[22]) * 75 + disc[23] - 150;
}

// A DVD+RW (or BD-RE) reports itself complete once formatted, whatever it
// holds; only a file system at sector 16 makes it "complete" for us.
std::int32_t CompleteUnlessBlankDVDPlusRW(std::int32_t mediaType, int& hasStructure,
                                          const std::string& drive) {
    if (mediaType != Media::kDVDPlusRW && mediaType != Media::kBDRE) return DiscState::kComplete;
    if (hasStructure < 0) hasStructure = HasVolumeStructure(drive) ? 1 : 0;
    return hasStructure == 1 ? DiscState::kComplete : DiscState::kEmpty;
}
}  // namespace

DriveSpeeds GetDriveSpeeds(const std::string& drive) {
    std::array<std::uint8_t, 50> reply{};
    // The status does not matter: a refused command leaves zeros.
    (void)ModeSense10(drive, kPageCapabilities, reply.data(), reply.size());
    // Page 2Ah right after the 8-byte mode parameter header.
    DriveSpeeds speeds;
    speeds.MaxReadSpeed = BigEndian16(&reply[16]);       // page bytes 8-9
    speeds.CurrentReadSpeed = BigEndian16(&reply[22]);   // page bytes 14-15
    speeds.MaxWriteSpeed = BigEndian16(&reply[26]);      // page bytes 18-19
    speeds.CurrentWriteSpeed = BigEndian16(&reply[28]);  // page bytes 20-21
    return speeds;
}

namespace {
constexpr std::uint8_t kSessionAtOnce = 0x20, kRwSubChannel = 0x01;

// The flags of the CD Mastering feature (002Eh) when it is current, else 0.
std::uint8_t CdMasteringFlags(const std::string& drive) {
    constexpr std::uint8_t kCdMastering = 0x2E, kCurrent = 0x01;
    std::array<std::uint8_t, 16> reply{};
    if (!GetConfiguration(drive, kCdMastering, 2, reply.data(), reply.size())) return 0;
    // After the 8-byte header: the feature code, its current bit, its flags.
    const bool current = BigEndian16(&reply[8]) == kCdMastering && (reply[10] & kCurrent) != 0;
    return current ? reply[12] : 0;
}
}  // namespace

bool OffersSessionAtOnce(const std::string& drive) {
    return (CdMasteringFlags(drive) & kSessionAtOnce) != 0;
}

bool OffersLeadInText(const std::string& drive) {
    const std::uint8_t flags = CdMasteringFlags(drive);
    return (flags & kSessionAtOnce) != 0 && (flags & kRwSubChannel) != 0;
}

std::int32_t GetMediaType(const std::string& drive) {
    std::array<std::uint8_t, 512> reply{};
    if (!GetConfiguration(drive, 0, 2, reply.data(), reply.size())) return Media::kCDROM;
    return MediaNumberOfProfile(BigEndian16(&reply[6]));  // feature header: current profile
}

DiscInfoRecord GetDiscStatus(const std::string& drive) {
    std::int32_t status = 0;
    return GetDiscStatus(drive, status);
}

DiscInfoRecord GetDiscStatus(const std::string& drive, std::int32_t& readDiscInformationStatus) {
    DiscInformationBlock block{};
    readDiscInformationStatus = ReadDiscInformation(drive, block);
    DiscInfoRecord record;
    record.MediaType = GetMediaType(drive);
    switch (block[8]) {  // disc type
        case 0x00:
            record.DiscType = 0;
            break;
        case 0x10:
            record.DiscType = 1;
            break;
        case 0x20:
            record.DiscType = 2;
            break;
        default:
            record.DiscType = 3;
            break;
    }
    record.Sessions = block[4];   // number of sessions, LSB
    record.LastTrack = block[6];  // last track in last session, LSB
    int hasStructure = -1;        // asked at most once, only for a DVD+RW
    static constexpr std::int32_t kDiscStates[] = {DiscState::kEmpty, DiscState::kIncomplete, -1,
                                                   DiscState::kUnknown};
    const int discBits = block[2] & 0x03;  // byte 2 bits 1-0: disc status
    record.DiscState = discBits == 2
                           ? CompleteUnlessBlankDVDPlusRW(record.MediaType, hasStructure, drive)
                           : kDiscStates[discBits];
    static constexpr std::int32_t kSessionStates[] = {DiscState::kEmpty, DiscState::kIncomplete,
                                                      DiscState::kDamaged, -1};
    const int sessionBits = (block[2] >> 2) & 0x03;  // byte 2 bits 3-2: state of last session
    record.LastSessionState =
        sessionBits == 3 ? CompleteUnlessBlankDVDPlusRW(record.MediaType, hasStructure, drive)
                         : kSessionStates[sessionBits];
    record.Erasable = BitSet(block[2], 4);  // byte 2 bit 4: Erasable
    return record;
}

bool HasVolumeDescriptor(const std::string& drive) {
    std::array<std::uint8_t, 2048> sector{};
    return ReadSector16(drive, sector) && LooksLikeIsoDescriptor(sector);
}

bool HasVolumeStructure(const std::string& drive) {
    std::array<std::uint8_t, 2048> sector{};
    return ReadSector16(drive, sector) &&
           (LooksLikeIsoDescriptor(sector) || HoldsVolumeRecognition(sector));
}

bool IsDVDMedia(const std::string& drive) {
    std::array<std::uint8_t, 512> reply{};
    // Format 00h, physical format information: only DVD media answer it.
    return ReadDiscStructure(drive, 0, 0, 0x00, reply.data(), reply.size()) &&
           (reply[0] != 0 || reply[1] != 0);
}

std::int32_t MediaPresent(const std::string& drive) {
    std::array<std::uint8_t, 8> reply{};
    if (!GetEventStatus(drive, 0x10, reply.data(), reply.size())) return -1;
    if (reply[0] == 0 && reply[1] == 0) return -1;  // no event descriptor
    // Event code "new media" or "media changed", reported once.
    const int event = reply[4] & 0x0F;
    if ((reply[2] & 0x07) == 4 && (event == 2 || event == 4)) MediaChanges::Note(drive);
    return BitSet(reply[5], 1) ? 1 : 0;  // media status: Media Present
}

std::int32_t WaitUnitReady(const std::string& drive, std::int32_t limitMs) {
    const double attempts = limitMs / static_cast<double>(kReadyPollMs);
    for (int attempt = 0; attempt < attempts; ++attempt) {
        const std::int32_t status = TestUnitReady(drive);
        if (status == ScsiStatus::kGood) return 1;
        // Sense data belongs to CHECK CONDITION only: after a transport
        // failure it is stale or empty and says nothing about the medium.
        if (status == ScsiStatus::kCheckCondition && Transport() != nullptr &&
            Transport()->LastASC() == Asc::kMediumNotPresent) {
            return 0;
        }
        SleepMilliseconds(kReadyPollMs);
    }
    return -1;
}

std::int64_t FreeBlocks(const std::string& drive) {
    DiscInformationBlock disc{};
    const bool discRead = ReadDiscInformation(drive, disc) == ScsiStatus::kGood;
    const std::int32_t media = GetMediaType(drive);
    std::array<std::uint8_t, 36> info{};
    // Byte 6: last track in the last session, which includes the invisible track.
    const std::uint8_t track = discRead && disc[6] != 0 ? disc[6] : 0xFF;
    if (ReadTrackInformation(drive, 1, track, info.data(), info.size())) {
        if (MediaClasses::Overwritable(media)) return BigEndian32(info.data() + 24);  // track size
        if (BitSet(info[7], 0)) return BigEndian32(info.data() + 16);  // NWA_V: free blocks
    }
    return discRead ? LastLeadOutStart(disc, media) : -1;
}

}  // namespace modMMC
