// The Write Parameters page: locating it, encoding every field, sending it back.

#include "ScriptedDriveTest.h"
#include "clsWPP.h"
#include "modMMC.h"

namespace {

using modMMC::kOpModeSelect10;
using modMMC::kOpModeSense10;

// A MODE SENSE reply: 8-byte header, then page 05h of `pageBytes` bytes with
// drive defaults in every field.
std::vector<std::uint8_t> PageReply(int pageBytes, int headerBytes = 8) {
    std::vector<std::uint8_t> reply(headerBytes + pageBytes, 0);
    const int modeDataLength = static_cast<int>(reply.size()) - 2;
    reply[0] = static_cast<std::uint8_t>(modeDataLength >> 8);
    reply[1] = static_cast<std::uint8_t>(modeDataLength);
    reply[2] = 0x70;  // medium type, goes back unchanged
    std::uint8_t* page = reply.data() + headerBytes;
    page[0] = 0x85;  // PS set, page 05h
    page[1] = static_cast<std::uint8_t>(pageBytes - 2);
    page[2] = 0x62;  // BUFE, LS_V, session at once
    page[3] = 0xC5;
    page[4] = 0x0A;
    page[5] = 0x07;
    page[6] = 0x66;
    page[7] = 0x3F;
    page[8] = 0x20;
    page[9] = 0x99;
    page[13] = 0x10;  // packet size 16
    page[15] = 0x96;  // pause 150
    for (int i = 16; i < pageBytes; ++i) page[i] = 0xAA;
    page[31] = 0x31;
    return reply;
}

class WritePage : public ScriptedDriveTest {
  protected:
    // The parameter list of the last MODE SELECT.
    std::vector<std::uint8_t> Sent() const {
        for (auto it = transport->Commands().rbegin(); it != transport->Commands().rend(); ++it)
            if (it->cdb[0] == kOpModeSelect10) return it->dataOut;
        return {};
    }
    std::uint8_t SentPage(const clsWPP& page, int k) const {
        return Sent().at(static_cast<std::size_t>(page.HeaderSize() + 1 + k));
    }
    // Page bytes 2 to 15 as sent.
    std::string SentFields(const clsWPP& page) const {
        const std::vector<std::uint8_t> sent = Sent();
        const auto first = sent.begin() + page.HeaderSize() + 3;
        return HexBytes({first, first + 14});
    }
};

TEST_F(WritePage, PagesOf52And56BytesAreFoundByTheScan) {
    Answer(kOpModeSense10, Data(PageReply(52)));
    clsWPP page;
    ASSERT_TRUE(page.GetData(drive));
    EXPECT_EQ(HexBytes(transport->Commands()[0].cdb), "5A 08 85 00 00 00 00 02 00 00");
    EXPECT_EQ(page.PageSize(), 60);
    EXPECT_EQ(page.HeaderSize(), 7);
    EXPECT_EQ(page.DataSize(), 54);
    ASSERT_TRUE(page.SendData(drive));
    EXPECT_EQ(HexBytes(transport->Commands().back().cdb), "55 10 00 00 00 00 00 00 3C 00");
    EXPECT_EQ(Sent().size(), 60u);

    Answer(kOpModeSense10, Data(PageReply(56)));
    clsWPP longer;
    ASSERT_TRUE(longer.GetData(drive));
    EXPECT_EQ(longer.PageSize(), 64);
    EXPECT_EQ(longer.DataSize(), 58);
    ASSERT_TRUE(longer.SendData(drive));
    ASSERT_EQ(Sent().size(), 64u);
    for (int k = 48; k < 56; ++k) EXPECT_EQ(SentPage(longer, k), 0) << k;  // vendor bytes zeroed
}

TEST_F(WritePage, UnsetFieldsGoToTheDriveAsZeroAndTheRestAsSensed) {
    const std::vector<std::uint8_t> reply = PageReply(52);
    Answer(kOpModeSense10, Data(reply));
    clsWPP page;
    ASSERT_TRUE(page.GetData(drive));
    ASSERT_TRUE(page.SendData(drive));
    const std::vector<std::uint8_t> sent = Sent();
    EXPECT_EQ(sent[0], 0);  // mode data length is reserved in MODE SELECT
    EXPECT_EQ(sent[1], 0);
    for (int i = 2; i < 8; ++i) EXPECT_EQ(sent[i], reply[i]) << i;
    EXPECT_EQ(sent[8], 0x05);  // PS bit cleared, page code kept
    EXPECT_EQ(sent[9], 0x32);
    for (int k : {6, 9, 31}) EXPECT_EQ(sent[8 + k], reply[8 + k]) << k;
    for (int k = 2; k < 52; ++k) {
        if (k == 6 || k == 9 || k == 31) continue;
        EXPECT_EQ(sent[8 + k], 0) << k;
    }
}

TEST_F(WritePage, EveryPropertyHasItsBits) {
    Answer(kOpModeSense10, Data(PageReply(56)));
    clsWPP page;
    ASSERT_TRUE(page.GetData(drive));
    page.SetBURNProof(true);
    page.SetTestMode(true);
    page.SetcWriteType(0x21);  // low four bits only
    page.SetMultisession(3);
    page.SetCopy(true);
    page.SetTrackMode(0x14);
    page.SetDataBlockType(8);
    page.SetLinkSize(16);
    page.SetApplicationCode(0xFF);
    page.SetSessionFormat(0x20);
    page.SetPacketSize(0x01020304);
    page.SetAudioPauseLength(150);
    ASSERT_TRUE(page.SendData(drive));
    // Multisession 3 sets bits 7 and 6, LinkSize 16, ApplicationCode written
    // whole; the packet size in memory order (little-endian), as it lies.
    EXPECT_EQ(SentFields(page), "51 D4 08 10 66 FF 20 99 04 03 02 01 00 96");

    page.SetBURNProof(false);
    page.SetTestMode(false);
    page.SetLinkSizeValid(true);
    page.SetFixedPacket(true);
    page.SetCopy(false);
    page.SetMultisession(1);
    page.SetAudioPauseLength(-2);
    ASSERT_TRUE(page.SendData(drive));
    EXPECT_EQ(SentFields(page), "21 64 08 10 66 FF 20 99 04 03 02 01 FF FE");

    page.SetMultisession(7);  // cannot spill into the other bits
    ASSERT_TRUE(page.SendData(drive));
    EXPECT_EQ(SentPage(page, 3), 0xE4);
}

// Where the page lies: behind a block descriptor; where the quick check
// (page code 55 bytes before the end) finds it; or a stray quick-check match
// whose length would run past the reply, so the scan finds the real page.
TEST_F(WritePage, ThePageIsLocatedInEveryLayout) {
    struct Layout {
        const char* name;
        std::vector<std::uint8_t> reply;
        int headerSize, dataSize;
    };
    std::vector<std::uint8_t> behind = PageReply(52, 16), quick(64, 0);
    behind[7] = 8;  // block descriptor length
    quick[1] = 62;  // a 52-byte page at offset 9 of 64 bytes: p = 64 - 55
    quick[9] = 0x05;
    quick[10] = 0x32;
    std::vector<std::uint8_t> stray = behind;  // p = 68 - 55 = 13 lies in the descriptor
    stray[13] = 0x05;
    stray[14] = 0xF0;
    const Layout layouts[] = {{"block descriptor", behind, 15, 54},
                              {"quick check: its figure, not the scan's 57", quick, 8, 56},
                              {"stray quick-check match", stray, 15, 54}};
    for (const Layout& l : layouts) {
        Answer(kOpModeSense10, Data(l.reply));
        clsWPP page;
        ASSERT_TRUE(page.GetData(drive)) << l.name;
        EXPECT_EQ(page.HeaderSize(), l.headerSize) << l.name;
        EXPECT_EQ(page.DataSize(), l.dataSize) << l.name;
    }
}

// A refused MODE SENSE; replies whose length fields or page would reach past
// the 512-byte buffer or the reply itself; a reply without page 05h; a
// refused MODE SELECT.
TEST_F(WritePage, RefusalsAndRepliesThatWouldOverrunTheBufferMakeItFalse) {
    std::vector<std::uint8_t> fits = PageReply(52), tooLong = fits, longest = fits, late(512, 0),
                              shortReply = fits, noPage = fits;
    fits[0] = 0x01;     // mode data length 314 + 2 is fine ...
    tooLong[0] = 0x02;  // ... 512 + 2 is not
    tooLong[1] = 0x00;
    longest[0] = longest[1] = 0xFF;
    late[0] = 0x01;  // 510 + 2 = 512, a page near the end: its fields reach past 512
    late[1] = 0xFE;
    late[470] = 0x05;
    late[471] = 0x32;
    shortReply[1] = 50;  // reply of 52 bytes, page needs 60
    noPage[8] = 0x2A;
    clsWPP page;
    Answer(kOpModeSense10, Data(fits));
    EXPECT_TRUE(page.GetData(drive));
    int index = 0;  // the last one leaves SendData with a page that reaches past 512
    for (const Reply& reply : {Sense(5, 0x24), Data(tooLong), Data(longest), Data(shortReply),
                               Data(noPage), Data(late)}) {
        Answer(kOpModeSense10, reply);
        EXPECT_FALSE(page.GetData(drive)) << index++;
    }
    EXPECT_FALSE(page.SendData(drive));
    EXPECT_EQ(CountOf(kOpModeSelect10), 0);
    Answer(kOpModeSense10, Data(fits));
    Answer(kOpModeSelect10, Sense(5, 0x26));
    ASSERT_TRUE(page.GetData(drive));
    EXPECT_FALSE(page.SendData(drive));
}

}  // namespace
