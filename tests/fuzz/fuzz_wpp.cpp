// Fuzzes the Write Parameters page: GetData on arbitrary MODE SENSE replies,
// then SendData and ExtractData. Every located page must leave the fields
// inside the 512-byte buffer, MODE SELECT must never send more than the
// buffer holds, and ExtractData must read back what SendData wrote.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "RecordingTransport.h"
#include "TransportSlot.h"
#include "clsWPP.h"

namespace {

RecordingTransport& FuzzTransport() {
    static RecordingTransport* transport = [] {
        auto owned = std::make_unique<RecordingTransport>(std::vector<std::string>{"fuzz"});
        RecordingTransport* raw = owned.get();
        SetTransport(std::move(owned));
        return raw;
    }();
    return *transport;
}

// MODE SELECT sends at most the buffer, its length as the CDB says, and the
// mode data length zeroed.
void CheckSelect(const RecordingTransport::Command& select) {
    const auto& cdb = select.cdb;
    if (select.bufferLen > clsWPP::kBufferSize || (cdb[7] << 8 | cdb[8]) != select.bufferLen ||
        select.dataOut.size() < 2 || select.dataOut[0] != 0 || select.dataOut[1] != 0)
        abort();
}

// The input as a MODE SENSE reply. Inputs whose first byte has bit 7 set
// also place a page header (05h, 32h or 36h) at the offset of bytes 1-2 and
// take the mode data length from bytes 3-4, so replies with pages near the
// end of the buffer are reached quickly.
std::vector<std::uint8_t> ReplyOf(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> reply(data, data + std::min<std::size_t>(size, clsWPP::kBufferSize));
    if (size < 5 || (data[0] & 0x80) == 0) return reply;
    reply.resize(clsWPP::kBufferSize, 0);
    const std::size_t offset = (data[1] << 8 | data[2]) % (clsWPP::kBufferSize - 1);
    reply[offset] = 0x05;
    reply[offset + 1] = (data[0] & 1) != 0 ? 0x36 : 0x32;
    reply[0] = data[3];
    reply[1] = data[4];
    return reply;
}

std::uint8_t At(const std::uint8_t* data, std::size_t size, std::size_t i) {
    return size == 0 ? 0 : data[i % size];
}

void SetFromInput(clsWPP& page, const std::uint8_t* data, std::size_t size) {
    page.SetcWriteType(At(data, size, 0));
    page.SetTestMode(At(data, size, 1) & 1);
    page.SetLinkSizeValid(At(data, size, 2) & 1);
    page.SetBURNProof(At(data, size, 3) & 1);
    page.SetTrackMode(At(data, size, 4));
    page.SetCopy(At(data, size, 5) & 1);
    page.SetFixedPacket(At(data, size, 6) & 1);
    page.SetMultisession(At(data, size, 7));
    page.SetDataBlockType(At(data, size, 8));
    page.SetLinkSize(At(data, size, 9));
    page.SetApplicationCode(At(data, size, 10));
    page.SetSessionFormat(At(data, size, 11));
    page.SetPacketSize(static_cast<std::int32_t>(At(data, size, 12) * 0x01010101u));
    page.SetAudioPauseLength(
        static_cast<std::int16_t>(At(data, size, 13) << 8 | At(data, size, 14)));
}

void CheckReadBack(const clsWPP& sent, const clsWPP& read) {
    const bool same =
        read.cWriteType() == (sent.cWriteType() & 0x0F) && read.TestMode() == sent.TestMode() &&
        read.LinkSizeValid() == sent.LinkSizeValid() && read.BURNProof() == sent.BURNProof() &&
        read.TrackMode() == (sent.TrackMode() & 0x0F) && read.Copy() == sent.Copy() &&
        read.FixedPacket() == sent.FixedPacket() &&
        read.Multisession() == (sent.Multisession() & 0x03) &&
        read.DataBlockType() == (sent.DataBlockType() & 0x0F) &&
        read.LinkSize() == sent.LinkSize() &&
        read.ApplicationCode() == (sent.ApplicationCode() & 0x3F) &&
        read.SessionFormat() == sent.SessionFormat() && read.PacketSize() == sent.PacketSize() &&
        read.AudioPauseLength() == sent.AudioPauseLength();
    if (!same) abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    RecordingTransport& transport = FuzzTransport();
    transport.ClearCommands();
    transport.Answer(0x5A, RecordingTransport::Data(ReplyOf(data, size)));
    auto page = std::make_unique<clsWPP>();
    if (!page->GetData("fuzz")) {
        if (page->SendData("fuzz") || transport.CountOf(0x55) != 0) abort();  // nothing to send
        return 0;
    }
    if (page->PageSize() > clsWPP::kBufferSize || page->HeaderSize() < 0 ||
        page->HeaderSize() + 1 + 56 > clsWPP::kBufferSize) {
        abort();
    }
    SetFromInput(*page, data + std::min<std::size_t>(size, 16), size > 16 ? size - 16 : 0);
    if (!page->SendData("fuzz") || transport.CountOf(0x55) != 1) abort();
    CheckSelect(transport.Commands().back());
    clsWPP copy = *page;
    copy.ExtractData();
    CheckReadBack(*page, copy);
    return 0;
}
