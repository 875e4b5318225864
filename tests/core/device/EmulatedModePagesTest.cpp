// Mode pages 05h and 2Ah, MODE SELECT strictness, and SET CD SPEED. The
// fields of page 2Ah are read by SpeedList and WriteCapabilities.
#include <gtest/gtest.h>

#include "VirtualDriveSession.h"

namespace {

constexpr std::uint8_t kDefaults = 0x80, kChangeable = 0x40, kSaved = 0xC0, kDbd = 0x08;

TEST(EmulatedModePagesTest, WriteParametersPageHasAnEightByteHeaderAndA52BytePage) {
    VirtualDriveSession bench;  // no medium needed
    const auto page = bench.ModeSense(kDefaults | 0x05, 512, kDbd);
    ASSERT_FALSE(page.empty()) << bench.Sense();
    // Mode data length 8 + 52 - 2, no block descriptor; Track At Once, a data
    // track, Mode 1 blocks, a pause of 150.
    EXPECT_EQ(HexBytes({page.begin(), page.begin() + 24}),
              "00 3A 00 00 00 00 00 00 05 32 01 04 08 00 00 00 00 00 00 00 00 00 00 96");
    EXPECT_EQ(bench.ModeSense(0x05, 512), page) << "current values start as the defaults";
    const auto mask = bench.ModeSense(kChangeable | 0x05, 512);
    ASSERT_FALSE(mask.empty());
    EXPECT_EQ(mask[10], 0x7F);
    EXPECT_EQ(mask[14], 0x00) << "reserved byte 6 is not changeable";
    EXPECT_TRUE(bench.ModeSense(kSaved | 0x05, 512).empty());
    EXPECT_EQ(bench.Sense(), "05/39/00");
    const auto recovery = bench.ModeSense(0x01, 512);
    ASSERT_GE(recovery.size(), 12u);
    EXPECT_EQ(HexBytes({recovery.begin(), recovery.begin() + 12}),
              "00 12 00 00 00 00 00 00 01 0A 00 00")
        << "the error recovery page: nothing to set";
    EXPECT_TRUE(bench.ModeSense(0x30, 512).empty()) << "no vendor page";
    EXPECT_EQ(bench.Sense(), "05/24/00");
}

TEST(EmulatedModePagesTest, SetCdSpeedRoundsDownAndPage2AReportsIt) {
    {
        VirtualDriveSession cd;
        cd.Insert(MediumKind::CdRw);
        EXPECT_EQ(cd.SetCdSpeed(0xFFFF, 3000), 0);
        EXPECT_EQ(cd.Drive().CurrentWriteSpeed(), 2822) << "3000 kB/s selects 16x";
        EXPECT_EQ(cd.SetCdSpeed(0xFFFF, 100), 0);
        EXPECT_EQ(cd.Drive().CurrentWriteSpeed(), 706) << "below the slowest: the slowest";
        EXPECT_EQ(cd.SetCdSpeed(1411, 0xFFFF), 0);
        EXPECT_EQ(cd.Drive().CurrentWriteSpeed(), 8467);
        EXPECT_EQ(cd.Drive().CurrentReadSpeed(), 1411);
        EXPECT_EQ(cd.SetCdSpeed(0xFFFF, 0xFFFF, 2), 2) << "rotation control 1xb is reserved";
        EXPECT_EQ(cd.Sense(), "05/24/00");
    }
    VirtualDriveSession dvd;
    dvd.Insert(MediumKind::DvdR);
    EXPECT_EQ(Be16(dvd.ModeSense(0x2A, 50), 26), 22160u);
    EXPECT_EQ(dvd.SetCdSpeed(0xFFFF, 4 * 1385), 0);
    EXPECT_EQ(Be16(dvd.ModeSense(0x2A, 50), 28), 5540u) << "page 2Ah reports the speed set";
    // A new medium brings back the fastest speeds.
    dvd.Insert(MediumKind::DvdR);
    EXPECT_EQ(dvd.Drive().CurrentWriteSpeed(), 22160);
    dvd.Drive().Faults().speedRequests = EmuFaults::SpeedRequests::Ignore;
    EXPECT_EQ(dvd.SetCdSpeed(0xFFFF, 2770), 0);
    EXPECT_EQ(dvd.Drive().CurrentWriteSpeed(), 22160) << "a drive that ignores the request";
}

TEST(EmulatedModePagesTest, ModeSelectAppliesAValidWriteParametersPage) {
    VirtualDriveSession bench;
    bench.Insert(MediumKind::CdR);
    ASSERT_EQ(bench.SetWriteParameters(1, 0, 0, true, 3), 0) << bench.Sense();
    const auto page = bench.ModeSense(0x05, 512);
    EXPECT_EQ(page[10], 0x11);  // test write, TAO
    EXPECT_EQ(page[11], 0xC0);  // multi-session 11b, audio
    EXPECT_EQ(page[12], 0x00);  // raw 2352
    EXPECT_EQ(bench.Drive().WriteParameters()[3], 0xC0);
    EXPECT_EQ(bench.ModeSense(kDefaults | 0x05, 512, kDbd)[11], 0x04) << "defaults unchanged";
}

// Sends the default page with one byte of the parameter list changed.
std::int32_t SelectWithChange(VirtualDriveSession& bench, std::size_t at, std::uint8_t value,
                              std::size_t length = 60) {
    std::vector<std::uint8_t> list = bench.ModeSense(kDefaults | 0x05, 512, kDbd);
    list.resize(60);
    list[0] = list[1] = 0;
    list[at] = value;
    list.resize(length);
    return bench.Exec({0x55, 0x10, 0, 0, 0, 0, 0, 0, std::uint8_t(length), 0}, &list, true);
}

TEST(EmulatedModePagesTest, ModeSelectRefusesReservedFieldsAsStrictDrivesDo) {
    VirtualDriveSession bench;
    bench.Insert(MediumKind::CdR);
    const auto before = bench.ModeSense(0x05, 512);
    EXPECT_EQ(SelectWithChange(bench, 1, 58), 2) << "mode data length must be zero";
    EXPECT_EQ(bench.Sense(), "05/26/00");
    EXPECT_EQ(SelectWithChange(bench, 8, 0x85), 2) << "PS bit must be zero";
    EXPECT_EQ(bench.Sense(), "05/26/00");
    EXPECT_EQ(SelectWithChange(bench, 7, 8), 2) << "no block descriptor";
    EXPECT_EQ(bench.Sense(), "05/26/00");
    EXPECT_EQ(SelectWithChange(bench, 14, 1), 2) << "page byte 6 is not changeable";
    EXPECT_EQ(bench.Sense(), "05/26/00");
    EXPECT_EQ(SelectWithChange(bench, 10, 0x09), 2) << "write type 9 does not exist";
    EXPECT_EQ(bench.Sense(), "05/26/00");
    EXPECT_EQ(SelectWithChange(bench, 11, 0x84), 2) << "multi-session 10b is reserved";
    EXPECT_EQ(bench.Sense(), "05/26/00");
    EXPECT_EQ(SelectWithChange(bench, 10, 0x01, 40), 2) << "list shorter than the page";
    EXPECT_EQ(bench.Sense(), "05/1A/00");
    EXPECT_EQ(bench.ModeSense(0x05, 512), before) << "a refused list changes nothing";
    std::vector<std::uint8_t> list(60, 0);
    EXPECT_EQ(bench.Exec({0x55, 0x00, 0, 0, 0, 0, 0, 0, 60, 0}, &list, true), 2)
        << "PF must be set";
    EXPECT_EQ(bench.Sense(), "05/24/00");
    EXPECT_EQ(SelectWithChange(bench, 10, 0x01), 0) << "the unchanged page passes";
}

TEST(EmulatedModePagesTest, PageApplicabilityDependsOnTheMedium) {
    struct Case {
        MediumKind kind;
        std::uint8_t writeType;
        std::int32_t status;
    };
    const Case cases[] = {{MediumKind::DvdR, 1, 2},     {MediumKind::DvdR, 0, 0},
                          {MediumKind::DvdRw, 1, 2},    {MediumKind::DvdRw, 2, 0},
                          {MediumKind::DvdPlusR, 1, 2}, {MediumKind::DvdPlusRw, 1, 2}};
    for (const Case& c : cases) {
        VirtualDriveSession drive;
        drive.Insert(c.kind);
        const std::string name =
            TraitsOf(c.kind).name + std::string(" type ") + char('0' + c.writeType);
        EXPECT_EQ(drive.SetWriteParameters(c.writeType, 4, 8, true, 3), c.status) << name;
        if (c.status != 0) {
            EXPECT_EQ(drive.Sense(), "05/26/00") << name;
        }
        // +R/+RW cannot simulate (refused above); any other page is accepted and ignored.
        if (c.kind == MediumKind::DvdPlusR || c.kind == MediumKind::DvdPlusRw) {
            EXPECT_EQ(drive.SetWriteParameters(c.writeType, 4, 8, false, 3), 0) << name;
            EXPECT_EQ(drive.Drive().WriteParameters()[3], 0x04) << name << ": accepted, ignored";
        }
    }
}

}  // namespace
