// READ FORMAT CAPACITIES and FORMAT UNIT: the formats of DVD+RW, BD-RE and blank BD-R.
#include <optional>

#include "EmuCommandTable.h"
#include "EmuDataFile.h"
#include "EmuDriveState.h"
#include "EmuReply.h"

namespace EmuCommands {

namespace {
// One format the medium offers (a formattable capacity descriptor).
struct FormatOffer {
    std::uint32_t blocks;
    std::uint8_t type;       // format type, descriptor byte 4 bits 7-2
    std::uint32_t argument;  // type dependent parameter, bytes 5-7
};

constexpr std::uint8_t kFullFormatPlusRw = 0x26;
constexpr std::uint8_t kBdDefault = 0x00;
constexpr std::uint8_t kBdWithSpares = 0x30;
constexpr std::uint8_t kBdWithoutSpares = 0x31;
constexpr std::uint8_t kBdRWithSpares = 0x32;
// BD-RE spare areas count in clusters of 32 blocks.
constexpr std::uint32_t kClusterBlocks = 32;

// What a BD-RE of `blocks` unformatted blocks offers, as 25 GB discs report
// it: the default format with 12288 spare clusters, formats with 20480 and
// 4096 spare clusters, and one without spare areas.
std::vector<FormatOffer> BdReOffers(std::uint32_t blocks) {
    const auto spared = [blocks](std::uint32_t clusters) {
        return FormatOffer{blocks - clusters * kClusterBlocks, kBdWithSpares, clusters};
    };
    FormatOffer standard = spared(0x3000);
    standard.type = kBdDefault;
    return {standard,
            spared(0x3000),
            spared(0x5000),
            spared(0x1000),
            {blocks, kBdWithoutSpares, 0x800}};
}

// A blank BD-R may be formatted with spare areas before its first write
// (else the drive records it without them): the default format and 32h with
// the same spare sizes as a BD-RE's 30h.
std::vector<FormatOffer> BdROffers(std::uint32_t blocks) {
    std::vector<FormatOffer> offers = BdReOffers(blocks);
    offers.pop_back();  // no format without spare areas: that is the unformatted disc
    for (FormatOffer& offer : offers)
        if (offer.type == kBdWithSpares) offer.type = kBdRWithSpares;
    return offers;
}

bool FormattableBdR(const EmuMedia& media) {
    const MediumTraits& traits = TraitsOf(media.kind);
    return traits.bd && traits.recordable && !traits.overwritable &&
           media.State() == DiscState::Blank;
}

std::vector<FormatOffer> Offers(const EmuMedia& media) {
    const MediumTraits& traits = TraitsOf(media.kind);
    const auto blocks = static_cast<std::uint32_t>(traits.capacity);
    if (FormattableBdR(media)) return BdROffers(blocks);
    if (!traits.overwritable) return {};
    if (traits.bd) return BdReOffers(blocks);
    return {{blocks, kFullFormatPlusRw, 0}};
}

// The offer a FORMAT UNIT descriptor names: same type, and on BD-RE the
// same size (and spare clusters) as one the medium offers.
std::optional<FormatOffer> Chosen(const EmuMedia& media, const std::uint8_t* descriptor) {
    const std::uint32_t blocks = static_cast<std::uint32_t>(descriptor[0]) << 24 |
                                 descriptor[1] << 16 | descriptor[2] << 8 | descriptor[3];
    const std::uint8_t type = descriptor[4] >> 2;
    for (const FormatOffer& offer : Offers(media))
        if (offer.type == type && (type == kFullFormatPlusRw || offer.blocks == blocks))
            return offer;
    return std::nullopt;
}
}  // namespace

EmuOutcome ReadFormatCapacities(EmuCall& call) {
    const EmuMedia& media = call.state.media;
    // Capacity list header and the current/maximum capacity descriptor:
    // unformatted (01b) for DVD+RW and BD-RE before their format and for a
    // blank BD-R not formatted with spare areas, else formatted (10b); then
    // what FORMAT UNIT may apply.
    const bool unformatted = media.unformatted || (FormattableBdR(media) &&
                                                   media.capacity == TraitsOf(media.kind).capacity);
    const std::vector<FormatOffer> offers = Offers(media);
    std::vector<std::uint8_t> reply(12 + 8 * offers.size(), 0);
    reply[3] = static_cast<std::uint8_t>(reply.size() - 4);
    EmuReply::Put32(reply, 4, static_cast<std::uint32_t>(media.capacity));
    EmuReply::Put32(reply, 8, 2048);
    reply[8] = unformatted ? 0x01 : 0x02;
    for (std::size_t i = 0; i < offers.size(); ++i) {
        const std::size_t at = 12 + 8 * i;
        EmuReply::Put32(reply, at, offers[i].blocks);
        EmuReply::Put32(reply, at + 4, offers[i].argument);
        reply[at + 4] = static_cast<std::uint8_t>(offers[i].type << 2);
    }
    return EmuReply::Send(call, reply, call.command.Word(7));
}

EmuOutcome FormatUnit(EmuCall& call) {
    const EmuCommand& command = call.command;
    EmuMedia& media = call.state.media;
    if (!TraitsOf(media.kind).overwritable && !FormattableBdR(media))
        return EmuSense::kIncompatibleMedium;
    // FmtData set, format code 001b: a format list follows.
    if ((command.Byte(1) & 0x17) != 0x11) return EmuSense::kInvalidFieldInCdb;
    constexpr int kListBytes = 12;
    if (command.dataOutLen < kListBytes) return EmuSense::kParameterListLength;
    const std::uint8_t* list = command.dataOut;
    if ((list[2] << 8 | list[3]) != 8) return EmuSense::kInvalidFieldInParameters;
    const std::uint8_t subType = list[8] & 0x03;
    const std::optional<FormatOffer> offer = Chosen(media, list + 4);
    if (!offer || (offer->type == kBdWithSpares && subType == 1))
        return EmuSense::kInvalidFieldInParameters;
    // A first format and a full certification leave nothing readable; a
    // quick reformat keeps the recorded blocks, as drives do.
    const bool quick = !media.unformatted && subType != 2;
    if (!quick) {
        if (!call.data.Clear()) return EmuSense::kWriteError;
        media.recordedEnd = 0;
    }
    media.unformatted = false;
    media.capacity = offer->blocks;
    if (media.recordedEnd > media.capacity) media.recordedEnd = media.capacity;
    call.state.layoutChanged = true;
    return EmuSense::kGood;
}

}  // namespace EmuCommands
