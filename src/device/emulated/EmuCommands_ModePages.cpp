// MODE SENSE(6), MODE SENSE(10) and MODE SELECT(10) with the Read/Write
// Error Recovery page (01h), the Write Parameters page (05h) and the
// capabilities and mechanical status page (2Ah).
#include <algorithm>

#include "EmuCommandTable.h"
#include "EmuDriveState.h"
#include "EmuReply.h"
#include "EmuSpeeds.h"
#include "EmuWritePage.h"

namespace EmuCommands {

namespace {
constexpr std::uint8_t kErrorRecoveryPage = 0x01;
constexpr std::uint8_t kCapabilitiesPage = 0x2A;
constexpr std::uint8_t kAllPages = 0x3F;
constexpr std::size_t kHeader = 8;       // mode parameter header (10), no block descriptor
constexpr std::size_t kShortHeader = 4;  // mode parameter header (6)

enum class PageControl : std::uint8_t { Current = 0, Changeable = 1, Default = 2, Saved = 3 };

// Page 2Ah (MMC-3 6.3.11) with one descriptor per supported write speed.
std::vector<std::uint8_t> CapabilitiesPage(const EmuDriveState& state) {
    const auto writeSpeeds = EmuSpeeds::WriteSpeeds(state.media.kind);
    const auto readSpeeds = EmuSpeeds::ReadSpeeds(state.media.kind);
    std::vector<std::uint8_t> page(32 + 4 * writeSpeeds.size(), 0);
    page[0] = kCapabilitiesPage;
    page[1] = static_cast<std::uint8_t>(page.size() - 2);
    page[2] = 0x1F;  // reads CD-R, CD-RW, Method 2, DVD-ROM, DVD-R
    page[3] = 0x17;  // writes CD-R, CD-RW, DVD-R; test write
    page[4] = 0xF1;  // BUF, multi-session, Mode 2 Form 1/2, audio play
    if (state.faults.noUnderrunProtection) page[4] &= 0x7F;
    page[5] = 0x03;                                 // CD-DA commands, accurate stream
    page[6] = 0x29;                                 // tray loading mechanism, eject, lock
    EmuReply::Put16(page, 8, readSpeeds.back());    // maximum read speed
    EmuReply::Put16(page, 12, 2048);                // buffer size, KiB
    EmuReply::Put16(page, 14, state.readSpeed);     // current read speed
    EmuReply::Put16(page, 18, writeSpeeds.back());  // maximum write speed
    EmuReply::Put16(page, 20, state.writeSpeed);    // current write speed
    page[27] = state.rotationControl;
    EmuReply::Put16(page, 28, state.writeSpeed);  // current write speed selected
    EmuReply::Put16(page, 30, static_cast<std::uint32_t>(writeSpeeds.size()));
    for (std::size_t i = 0; i < writeSpeeds.size(); ++i)  // fastest first
        EmuReply::Put16(page, 34 + 4 * i, writeSpeeds[writeSpeeds.size() - 1 - i]);
    return page;
}

// Page 01h (MMC-5 7.3): no retries to set, the drive's own error handling;
// not changeable.
std::vector<std::uint8_t> ErrorRecoveryPage() {
    std::vector<std::uint8_t> page(12, 0);
    page[0] = kErrorRecoveryPage;
    page[1] = static_cast<std::uint8_t>(page.size() - 2);
    return page;
}

// The fixed pages (01h, 2Ah) as MODE SENSE gives them: nothing changeable.
std::vector<std::uint8_t> FixedPage(std::vector<std::uint8_t> page, PageControl control) {
    if (control == PageControl::Changeable) std::fill(page.begin() + 2, page.end(), 0);
    return page;
}

std::vector<std::uint8_t> WritePage(const EmuDriveState& state, PageControl control) {
    EmuWritePage::Page page = control == PageControl::Default      ? EmuWritePage::Defaults()
                              : control == PageControl::Changeable ? EmuWritePage::ChangeableMask()
                                                                   : state.writePage;
    page[0] = EmuWritePage::kCode;
    page[1] = EmuWritePage::kLength;
    return {page.begin(), page.end()};
}

void Append(std::vector<std::uint8_t>& reply, const std::vector<std::uint8_t>& page) {
    reply.insert(reply.end(), page.begin(), page.end());
}
}  // namespace

namespace {
// The pages asked for after a header of `header` bytes (8 for MODE SENSE(10),
// 4 for MODE SENSE(6)); never a block descriptor.
EmuOutcome ModeSense(EmuCall& call, std::size_t header, std::uint32_t allocationLength) {
    const EmuCommand& command = call.command;
    const auto control = static_cast<PageControl>(command.Byte(2) >> 6);
    const std::uint8_t code = command.Byte(2) & 0x3F;
    if (control == PageControl::Saved) return EmuSense::kSavingNotSupported;
    if (control == PageControl::Default && call.state.faults.rejectDefaultModeSense)
        return EmuSense::kInvalidFieldInCdb;
    if (command.Byte(3) != 0 && !(code == kAllPages && command.Byte(3) == 0xFF))
        return EmuSense::kInvalidFieldInCdb;  // no subpages
    std::vector<std::uint8_t> reply(header, 0);
    if (code == kErrorRecoveryPage || code == kAllPages)
        Append(reply, FixedPage(ErrorRecoveryPage(), control));
    if (code == EmuWritePage::kCode || code == kAllPages)
        Append(reply, WritePage(call.state, control));
    if (code == kCapabilitiesPage || code == kAllPages)
        Append(reply, FixedPage(CapabilitiesPage(call.state), control));
    if (reply.size() == header) return EmuSense::kInvalidFieldInCdb;
    if (header == kShortHeader)
        reply[0] = static_cast<std::uint8_t>(reply.size() - 1);  // mode data length
    else
        EmuReply::Put16(reply, 0, static_cast<std::uint32_t>(reply.size() - 2));
    return EmuReply::Send(call, reply, allocationLength);
}
}  // namespace

EmuOutcome ModeSense6(EmuCall& call) {
    return ModeSense(call, kShortHeader, call.command.Byte(4));
}

EmuOutcome ModeSense10(EmuCall& call) {
    return ModeSense(call, kHeader, call.command.Word(7));
}

namespace {
// Checks one page of a MODE SELECT list; `apply` false only validates.
EmuOutcome SelectPage(EmuDriveState& state, const std::uint8_t* page, int bytes, bool apply) {
    const std::uint8_t code = page[0] & 0x3F;
    if (code == EmuWritePage::kCode) {
        const EmuOutcome outcome =
            EmuWritePage::Validate(page, bytes, state.writePage, state.media.kind);
        const bool ignored = EmuWritePage::IgnoresPage(state.media.kind);
        if (outcome.Good() && apply && !ignored) std::copy_n(page, 52, state.writePage.begin());
        return outcome;
    }
    if (code == kCapabilitiesPage || code == kErrorRecoveryPage) {
        // Not changeable: only an identical copy passes.
        const std::vector<std::uint8_t> current =
            code == kCapabilitiesPage ? CapabilitiesPage(state) : ErrorRecoveryPage();
        const bool same = bytes == static_cast<int>(current.size()) &&
                          std::equal(current.begin() + 2, current.end(), page + 2);
        return same ? EmuSense::kGood : EmuSense::kInvalidFieldInParameters;
    }
    return EmuSense::kInvalidFieldInParameters;
}

// Walks the pages of the list after the header, checking (or applying) each.
EmuOutcome SelectPages(EmuDriveState& state, const std::uint8_t* list, int length, bool apply) {
    int at = static_cast<int>(kHeader);
    while (at < length) {
        if (length - at < 2) return EmuSense::kParameterListLength;
        if ((list[at] & 0x80) != 0) return EmuSense::kInvalidFieldInParameters;  // PS reserved
        const int bytes = list[at + 1] + 2;
        if (at + bytes > length) return EmuSense::kParameterListLength;
        const EmuOutcome outcome = SelectPage(state, list + at, bytes, apply);
        if (!outcome.Good()) return outcome;
        at += bytes;
    }
    return EmuSense::kGood;
}
}  // namespace

EmuOutcome ModeSelect10(EmuCall& call) {
    const EmuCommand& command = call.command;
    if ((command.Byte(1) & 0x10) == 0 || (command.Byte(1) & 0x01) != 0)
        return EmuSense::kInvalidFieldInCdb;  // PF must be 1, SP 0 (nothing is saved)
    const int length = command.Word(7);
    if (length == 0) return EmuSense::kGood;
    if (command.dataOutLen < length) return EmuSense::kParameterListLength;
    const std::uint8_t* list = command.dataOut;
    if (length < static_cast<int>(kHeader) + 2) return EmuSense::kParameterListLength;
    // Mode data length and block descriptor length are reserved in MODE SELECT.
    if (list[0] != 0 || list[1] != 0 || list[6] != 0 || list[7] != 0)
        return EmuSense::kInvalidFieldInParameters;
    const EmuOutcome outcome = SelectPages(call.state, list, length, false);
    if (!outcome.Good()) return outcome;
    return SelectPages(call.state, list, length, true);
}

}  // namespace EmuCommands
