#include "EmuWritePage.h"

namespace EmuWritePage {

Page Defaults() {
    Page page{};
    page[0] = kCode;
    page[1] = kLength;
    page[2] = 0x01;   // write type 1: Track At Once
    page[3] = 0x04;   // multi-session 00b, track mode 4: data, uninterrupted
    page[4] = 0x08;   // data block type 8: Mode 1, 2048 bytes
    page[14] = 0x00;  // audio pause length 150 blocks (2 s)
    page[15] = 0x96;
    return page;
}

Page ChangeableMask() {
    Page mask{};
    mask[2] = 0x7F;                                    // BUFE, LS_V, test write, write type
    mask[3] = 0xFF;                                    // multi-session, FP, copy, track mode
    mask[4] = 0x0F;                                    // data block type
    mask[5] = 0xFF;                                    // link size
    mask[7] = 0x3F;                                    // host application code
    mask[8] = 0xFF;                                    // session format
    for (int at = 10; at < 52; ++at) mask[at] = 0xFF;  // packet size .. sub-header
    return mask;
}

namespace {
bool ValidDataBlockType(std::uint8_t type) {
    return type <= 3 || (type >= 8 && type <= 13);
}

bool WriteTypeFits(std::uint8_t writeType, MediumKind medium) {
    if (writeType > 4) return false;
    switch (TraitsOf(medium).writesLike) {
        case MediumKind::DvdR:
        case MediumKind::DvdRw:
            return writeType == 0 || writeType == 2;
        case MediumKind::None:
        case MediumKind::DvdPlusR:
        case MediumKind::DvdPlusRw:
            return true;
        default:
            return writeType != 4;  // layer jump is DVD-R DL only
    }
}
}  // namespace

EmuOutcome Validate(const std::uint8_t* page, int pageBytes, const Page& current,
                    MediumKind medium) {
    if (pageBytes != 52 && pageBytes != 56) return EmuSense::kInvalidFieldInParameters;
    const Page mask = ChangeableMask();
    for (int at = 2; at < 52; ++at)
        if (((page[at] ^ current[at]) & ~mask[at]) != 0) return EmuSense::kInvalidFieldInParameters;
    // DVD+R/+RW take the page and ignore it, as drives of those media do;
    // strict ones refuse a test write there, which they cannot simulate.
    if (EmuWritePage::IgnoresPage(medium))
        return (page[2] & 0x10) != 0 ? EmuSense::kInvalidFieldInParameters : EmuSense::kGood;
    const std::uint8_t writeType = page[2] & 0x0F;
    if (!WriteTypeFits(writeType, medium)) return EmuSense::kInvalidFieldInParameters;
    if ((page[3] >> 6) == 2) return EmuSense::kInvalidFieldInParameters;  // reserved
    if (!ValidDataBlockType(page[4] & 0x0F)) return EmuSense::kInvalidFieldInParameters;
    return EmuSense::kGood;
}

std::int64_t PreGap(const Page& page) {
    const std::int64_t pause = page[14] << 8 | page[15];
    return AudioTrack(page) && pause > 150 ? pause : 150;
}

bool IgnoresPage(MediumKind medium) {
    const MediumKind rules = TraitsOf(medium).writesLike;
    return rules == MediumKind::DvdPlusR || rules == MediumKind::DvdPlusRw;
}

WriteSetup SetupFor(const Page& page, MediumKind medium) {
    const MediumTraits& traits = TraitsOf(medium);
    WriteSetup setup;
    if (!traits.cd) {
        // DVD media: 2048-byte blocks; +R/+RW ignore the page (no simulation there).
        setup.blockSize = 2048;
        const bool plus = IgnoresPage(medium);
        setup.testWrite = !plus && TestWrite(page);
        if (!plus && !WriteTypeFits(WriteType(page), medium))
            setup.outcome = EmuSense::kIllegalModeForTrack;
        return setup;
    }
    setup.testWrite = TestWrite(page);
    setup.audio = AudioTrack(page);
    const std::uint8_t writeType = WriteType(page);
    if (writeType == 2 || writeType == 3) {
        setup.outcome = EmuSense::kCommandSequenceError;  // needs a cue sheet first
    } else if (writeType > 3) {
        setup.outcome = EmuSense::kIllegalModeForTrack;
    } else if (setup.audio && DataBlockType(page) == 0) {
        setup.blockSize = 2352;
    } else if (!setup.audio && DataBlockType(page) == 8) {
        setup.blockSize = 2048;
    } else {
        setup.outcome = EmuSense::kIllegalModeForTrack;
    }
    return setup;
}

}  // namespace EmuWritePage
