#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "modMMCBasic.h"

class EngineReporter;

// The MMC commands the recorder sends, and the composite queries built from
// them. Every operation takes the device identifier of the current drive;
// command operations return the ExecCMD status (0 success) or a Boolean, and
// leave the sense data of a failure readable on the transport.
namespace modMMC {

// Opcodes of the MMC commands below.
constexpr std::uint8_t kOpSetCDSpeed = 0xBB;
constexpr std::uint8_t kOpCloseTrackSession = 0x5B;
constexpr std::uint8_t kOpSynchronizeCache = 0x35;
constexpr std::uint8_t kOpWrite10 = 0x2A;
constexpr std::uint8_t kOpRead10 = 0x28;
constexpr std::uint8_t kOpReadCd = 0xBE;
constexpr std::uint8_t kOpSendCueSheet = 0x5D;
constexpr std::uint8_t kOpReadCapacity = 0x25;
constexpr std::uint8_t kOpModeSelect10 = 0x55;
constexpr std::uint8_t kOpModeSense10 = 0x5A;
constexpr std::uint8_t kOpBlank = 0xA1;
constexpr std::uint8_t kOpReadDiscInformation = 0x51;
constexpr std::uint8_t kOpReadTrackInformation = 0x52;
constexpr std::uint8_t kOpReadToc = 0x43;
constexpr std::uint8_t kOpReadSubChannel = 0x42;
constexpr std::uint8_t kOpReadDiscStructure = 0xAD;
constexpr std::uint8_t kOpGetConfiguration = 0x46;
constexpr std::uint8_t kOpGetEventStatus = 0x4A;

// Media numbers of GetMediaType that callers name.
namespace Media {
constexpr std::int32_t kCDROM = 0;
constexpr std::int32_t kCDR = 1;
constexpr std::int32_t kCDRW = 2;
constexpr std::int32_t kDVDR = 4;
constexpr std::int32_t kDVDRDL = 5;
constexpr std::int32_t kDVDRW = 6;
constexpr std::int32_t kDVDRWDL = 7;
constexpr std::int32_t kDVDRAM = 8;
constexpr std::int32_t kDVDPlusR = 9;
constexpr std::int32_t kDVDPlusRDL = 10;
constexpr std::int32_t kDVDPlusRW = 11;
constexpr std::int32_t kDVDPlusRWDL = 12;
constexpr std::int32_t kBDROM = 13;
constexpr std::int32_t kBDR = 14;
constexpr std::int32_t kBDRE = 15;
constexpr std::int32_t kHDDVDR = 17;
constexpr std::int32_t kHDDVDRAM = 18;
constexpr std::int32_t kHDDVDRDL = 20;
constexpr std::int32_t kUnknown = 22;
}  // namespace Media

// Disc and session states of DiscInfoRecord.
namespace DiscState {
constexpr std::int32_t kEmpty = 0;
constexpr std::int32_t kIncomplete = 1;
constexpr std::int32_t kDamaged = 2;  // last session only
constexpr std::int32_t kComplete = 3;
constexpr std::int32_t kUnknown = 4;  // disc only
}  // namespace DiscState

// What GetDiscStatus reports about the disc in the drive.
struct DiscInfoRecord {
    std::int32_t MediaType = 0;         // 0..22, from GetMediaType
    std::int32_t DiscType = 0;          // 0 CD-DA/CD-ROM, 1 CD-I, 2 CD-ROM XA, 3 other
    std::uint8_t Sessions = 0;          // number of sessions, low byte
    std::uint8_t LastTrack = 0;         // last track in the last session, low byte
    std::int32_t DiscState = 0;         // 0 Empty, 1 unComplete, 3 Complete, 4 unKnown
    std::int32_t LastSessionState = 0;  // 0 Empty, 1 unComplete, 2 Damaged, 3 Complete
    bool Erasable = false;              // the disc is rewritable
};

// Speeds of the capabilities page, kB/s as the drive reports them.
struct DriveSpeeds {
    std::uint16_t MaxReadSpeed = 0;
    std::uint16_t MaxWriteSpeed = 0;
    std::uint16_t CurrentReadSpeed = 0;
    std::uint16_t CurrentWriteSpeed = 0;
};

// The 31 bytes of READ DISC INFORMATION the program asks for.
using DiscInformationBlock = std::array<std::uint8_t, 31>;

// Speed value asking the drive for its maximum.
constexpr std::uint16_t kMaximumSpeed = 0xFFFF;
// Close functions of CLOSE TRACK/SESSION.
constexpr std::int32_t kCloseTrack = 1;
constexpr std::int32_t kCloseSession = 2;
// DVD+R and DVD+R DL: close the session and finalise the disc (101b).
constexpr std::int32_t kCloseFinalize = 5;
// BD-R: close the session and finalise the disc (110b).
constexpr std::int32_t kCloseFinalizeBD = 6;
// Blanking types of BLANK.
constexpr std::uint8_t kBlankWholeDisc = 0;
constexpr std::uint8_t kBlankMinimal = 1;

// ---- Command operations: status results (0 success) ----

// SET CD SPEED; speeds in kB/s (FFFFh = maximum), rotation control as its
// absolute value (0 CLV, 1 pure CAV).
[[nodiscard]] std::int32_t SetCDSpeed(const std::string& drive, std::uint16_t readSpeed,
                                      std::uint16_t writeSpeed, std::int16_t rotationControl);
// CLOSE TRACK/SESSION with function 1 (track), 2 (session) or 5 (finalise a
// DVD+R); low byte used.
[[nodiscard]] std::int32_t CloseTrackSession(const std::string& drive, std::int32_t closeFunction,
                                             std::uint16_t trackNumber);
[[nodiscard]] std::int32_t SynchronizeCache(const std::string& drive);
// WRITE(10) of `blocks` blocks at `lba` from `length` bytes of `buffer`.
[[nodiscard]] std::int32_t Write10(const std::string& drive, std::uint32_t lba,
                                   std::uint16_t blocks, const void* buffer, std::int32_t length);
// READ(10) of `blocks` blocks at `lba` into `length` bytes of `buffer`.
[[nodiscard]] std::int32_t Read10(const std::string& drive, std::uint32_t lba, std::uint16_t blocks,
                                  void* buffer, std::int32_t length);
// READ CD of `blocks` CD-DA sectors at `lba`, 2352 bytes of user data each,
// into `length` bytes of `buffer`.
[[nodiscard]] std::int32_t ReadCd(const std::string& drive, std::uint32_t lba, std::uint32_t blocks,
                                  void* buffer, std::int32_t length);
// READ CD of the formatted Q sub-channel only (16 bytes a sector: CTL/ADR,
// track, index, relative M S F, zero, absolute M S F in BCD, CRC, 4 zeros)
// of `blocks` sectors at `lba` into `length` bytes of `buffer`.
[[nodiscard]] std::int32_t ReadCdQ(const std::string& drive, std::uint32_t lba,
                                   std::uint32_t blocks, void* buffer, std::int32_t length);
// SEND CUE SHEET of the `length` bytes of `sheet` (Session At Once).
[[nodiscard]] std::int32_t SendCueSheet(const std::string& drive, const void* sheet,
                                        std::int32_t length);
// READ CAPACITY: the last logical block address, or -1 when the command fails.
[[nodiscard]] std::int64_t ReadCapacity(const std::string& drive);
// MODE SELECT(10), PF set, sending `length` bytes of `buffer`.
[[nodiscard]] std::int32_t ModeSelect10(const std::string& drive, const void* buffer,
                                        std::uint16_t length);
// MODE SENSE(10) of the drive's default values (page control 10b, DBD set).
[[nodiscard]] std::int32_t ModeSenseDefault(const std::string& drive, std::uint8_t pageCode,
                                            void* buffer, std::uint16_t length);
// MODE SENSE(10) of the current values (page control 00b).
[[nodiscard]] std::int32_t ModeSense10(const std::string& drive, std::uint8_t pageCode,
                                       void* buffer, std::uint16_t length);
// BLANK with the given blanking type (Immed clear: returns when done).
[[nodiscard]] std::int32_t Blank(const std::string& drive, std::uint8_t blankingType);
// READ DISC INFORMATION, 31 bytes.
[[nodiscard]] std::int32_t ReadDiscInformation(const std::string& drive,
                                               DiscInformationBlock& block);

// ---- Command operations: true on success ----

// READ TRACK INFORMATION; address type 1 = track number (low 8 bits used).
[[nodiscard]] bool ReadTrackInformation(const std::string& drive, std::uint8_t addressType,
                                        std::uint32_t trackNumber, void* buffer,
                                        std::uint16_t length);
// READ TOC/PMA/ATIP format 0000b from track 1, addresses as LBAs: the track
// descriptors (8 bytes each after the 4-byte header), the lead-out (AAh) last.
[[nodiscard]] bool ReadToc(const std::string& drive, void* buffer, std::uint16_t length);
// READ DISC STRUCTURE of the given format.
[[nodiscard]] bool ReadDiscStructure(const std::string& drive, std::uint32_t address,
                                     std::uint8_t layer, std::uint8_t format, void* buffer,
                                     std::uint16_t length);
// GET CONFIGURATION; request type 2 = header and the named feature only.
[[nodiscard]] bool GetConfiguration(const std::string& drive, std::uint8_t startingFeature,
                                    std::uint8_t requestType, void* buffer, std::uint16_t length);
// GET EVENT STATUS NOTIFICATION, polled; class request 10h = media events.
[[nodiscard]] bool GetEventStatus(const std::string& drive, std::uint8_t classRequest, void* buffer,
                                  std::uint8_t length);

// ---- Composite queries ----

// Maximum and current speeds of the capabilities page (2Ah); zeros when the
// drive does not answer.
[[nodiscard]] DriveSpeeds GetDriveSpeeds(const std::string& drive);
// True when GET CONFIGURATION marks CD Mastering (002Eh) current with its
// Session At Once bit: the drive records a CD from a cue sheet.
[[nodiscard]] bool OffersSessionAtOnce(const std::string& drive);
// True when CD Mastering also offers R-W sub-channel writing: the host may
// write CD-TEXT into the lead-in of a Session At Once recording.
[[nodiscard]] bool OffersLeadInText(const std::string& drive);
// The lead-in start of a blank CD-R/RW from its ATIP (READ TOC format
// 0100b) as an LBA (about -11,600), or 0 when the drive gives no ATIP.
[[nodiscard]] std::int64_t ReadLeadInStart(const std::string& drive);
// READ TOC format 0101b: the lead-in's CD-TEXT (a 4-byte header, then
// 18-byte packs) into `answer`; false when the drive refuses it.
[[nodiscard]] bool ReadCdTextPacks(const std::string& drive, std::vector<std::uint8_t>& answer);
// READ SUB-CHANNEL of the Q data: the catalogue number (13 digits) or track
// `track`'s ISRC (12 characters); empty when the disc has none or the drive
// refuses.
[[nodiscard]] std::string ReadCatalogueNumber(const std::string& drive);
[[nodiscard]] std::string ReadIsrc(const std::string& drive, std::uint8_t track);
// Media number 0..22 of the current profile; 0 when GET CONFIGURATION fails,
// 22 for no medium or an unlisted profile.
[[nodiscard]] std::int32_t GetMediaType(const std::string& drive);
// The disc's state. A failed READ DISC INFORMATION decodes as an empty disc;
// the overload hands its status to callers that must not trust that.
[[nodiscard]] DiscInfoRecord GetDiscStatus(const std::string& drive);
[[nodiscard]] DiscInfoRecord GetDiscStatus(const std::string& drive,
                                           std::int32_t& readDiscInformationStatus);
// True when sector 16 reads and starts like an ISO 9660 descriptor
// (byte 1 "C" or byte 2 "D").
[[nodiscard]] bool HasVolumeDescriptor(const std::string& drive);
// True when sector 16 reads and holds an ISO 9660 descriptor (as above) or
// another volume recognition sequence (UDF "BEA01", "NSR02", ...): what
// tells a used DVD+RW from a blank one.
[[nodiscard]] bool HasVolumeStructure(const std::string& drive);
// True when the drive answers the DVD physical format information.
[[nodiscard]] bool IsDVDMedia(const std::string& drive);
// 1 medium present, 0 no medium, -1 the drive gives no media event.
[[nodiscard]] std::int32_t MediaPresent(const std::string& drive);
// How long a task waits for the drive to become ready before it says the
// drive is busy: 15 s, enough for a drive that spins a disc up.
constexpr std::int32_t kReadyWaitMs = 15000;
// How long the verifier waits after it moved the tray out and in: 30 s, as a
// drive reads a disc put in afresh (its table of contents, its format)
// before it is ready, which takes longer than spinning one up.
constexpr std::int32_t kReloadReadyWaitMs = 30000;
// Polls TEST UNIT READY every 200 ms for up to `limitMs`: 1 ready (status 0),
// 0 no medium (CHECK CONDITION with ASC 3Ah), -1 the limit was reached.
[[nodiscard]] std::int32_t WaitUnitReady(const std::string& drive, std::int32_t limitMs);
// Blocks still free for recording on the disc: the free blocks READ TRACK
// INFORMATION gives for the invisible track (the last track READ DISC
// INFORMATION counts), the whole track on media written in place (DVD+RW,
// DVD-RAM), else, for a blank disc, the last possible lead-out start of READ
// DISC INFORMATION. -1 when the drive does not say (no medium, a finished
// disc, the commands fail).
[[nodiscard]] std::int64_t FreeBlocks(const std::string& drive);
// What BlankDisc returns when `events` asked it to stop between the blocks
// of a DVD+RW overwrite (the disc is partly erased).
constexpr std::int32_t kBlankStopped = -1;
// Erases the disc: BLANK of `blankingType`; for DVD+RW zeros over LBAs
// 0..299; for BD-RE a full format (whole) or a quick reformat and the
// zeros (minimal); a DVD+RW or BD-RE never formatted gets its first format.
// Returns 0 on success, else the failing status (255 when the overwrite or
// the format gives up), or kBlankStopped when `events` (optional) asked to
// stop after a block of the overwrite.
[[nodiscard]] std::int32_t BlankDisc(const std::string& drive, std::uint8_t blankingType,
                                     EngineReporter* events = nullptr);

// ---- Formats and streaming (DVD+RW, BD) ----

// SET STREAMING with one performance descriptor over LBAs 0..`endLba`:
// read and write speeds in kB/s (FFFFh = the fastest). Blu-ray drives take
// their speeds so; SET CD SPEED may be ignored there.
[[nodiscard]] std::int32_t SetStreaming(const std::string& drive, std::uint16_t readSpeed,
                                        std::uint16_t writeSpeed, std::uint32_t endLba);
// READ FORMAT CAPACITIES into `length` bytes of `buffer`; true on success.
[[nodiscard]] bool ReadFormatCapacities(const std::string& drive, void* buffer,
                                        std::uint16_t length);
// FORMAT UNIT with Immed and FOV set and the 8-byte format descriptor
// `descriptor` (a copy of one READ FORMAT CAPACITIES offers); returns at once
// while the drive formats (see FormatDisc).
[[nodiscard]] std::int32_t FormatUnit(const std::string& drive,
                                      const std::array<std::uint8_t, 8>& descriptor);
// How FormatDisc formats: the first format of a new disc, or the erase of a
// BD-RE (a quick reformat, or a full format with certification).
enum class FormatStyle { First, QuickReformat, Full };
// True when the disc is a DVD+RW or BD-RE that was never formatted (READ
// FORMAT CAPACITIES: the current descriptor says "unformatted").
[[nodiscard]] bool NeedsFormat(const std::string& drive, std::int32_t media);
// The blocks a DVD+RW or BD-RE holds after FormatDisc(First); -1 when the
// drive offers no such format.
[[nodiscard]] std::int64_t FirstFormatBlocks(const std::string& drive, std::int32_t media);
// Formats a DVD+RW (type 26h) or BD-RE (type 00h for the first format, 30h
// quick reformat or full certification for an erase) and waits until the
// drive is ready again. 0 on success, else the failing status (255 when no
// format fits or the drive does not become ready).
[[nodiscard]] std::int32_t FormatDisc(const std::string& drive, std::int32_t media,
                                      FormatStyle style);

// ---- Display names ----

// "Empty", "unComplete", "Damaged", "Complete", "unKnown" for 0..4; "" otherwise.
std::string DiscStatusName(std::int32_t status);
// "CD-ROM" ... "HD-DVD RW DL" for media numbers 0..21; "unknown" otherwise.
std::string MediaName(std::int32_t mediaNumber);
// Media number of an MMC profile (22 for no medium or an unlisted profile).
std::int32_t MediaNumberOfProfile(std::uint16_t profile);

}  // namespace modMMC
