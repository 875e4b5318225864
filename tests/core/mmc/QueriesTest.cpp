// Composite queries decoded from captured replies.
#include "ScriptedDriveTest.h"
#include "ScsiStatus.h"
#include "modMMC.h"

namespace {

using modMMC::kOpGetConfiguration;
using modMMC::kOpRead10;
using modMMC::kOpReadDiscInformation;

class Queries : public ScriptedDriveTest {};

// Sector 16 of an ISO 9660 image: type 1, "CD001".
const std::string kIsoStart = std::string(1, '\x01') + "CD001";

TEST_F(Queries, DriveSpeedsComeFromTheCapabilitiesPage) {
    std::vector<std::uint8_t> page(50, 0);
    page[8] = 0x2A;
    page[16] = 0x21, page[17] = 0x13;  // max read 8467
    page[22] = 0x0B, page[23] = 0x00;  // current read 2816
    page[26] = 0x21, page[27] = 0x14;  // max write 8468
    page[28] = 0x10, page[29] = 0x89;  // current write 4233
    AnswerOnce(modMMC::kOpModeSense10, Data(page));
    const modMMC::DriveSpeeds speeds = modMMC::GetDriveSpeeds(drive);
    EXPECT_EQ(speeds.MaxReadSpeed, 8467);
    EXPECT_EQ(speeds.CurrentReadSpeed, 2816);
    EXPECT_EQ(speeds.MaxWriteSpeed, 8468);
    EXPECT_EQ(speeds.CurrentWriteSpeed, 4233);
    EXPECT_EQ(HexBytes(transport->Commands()[0].cdb), "5A 00 2A 00 00 00 00 00 32 00");
    Answer(modMMC::kOpModeSense10, Sense(5, 0x24));
    const modMMC::DriveSpeeds refused = modMMC::GetDriveSpeeds(drive);
    EXPECT_EQ(refused.MaxReadSpeed + refused.MaxWriteSpeed + refused.CurrentReadSpeed +
                  refused.CurrentWriteSpeed,
              0);
}

TEST_F(Queries, MediaTypesFollowTheProfileTable) {
    const std::pair<std::uint16_t, std::int32_t> profiles[] = {
        {0x0008, 0},  {0x0009, 1},  {0x000A, 2},  {0x0010, 3},  {0x0011, 4},  {0x0012, 8},
        {0x0013, 6},  {0x0014, 6},  {0x0015, 5},  {0x0016, 5},  {0x0017, 7},  {0x001A, 11},
        {0x001B, 9},  {0x002A, 12}, {0x002B, 10}, {0x0040, 13}, {0x0041, 14}, {0x0042, 14},
        {0x0043, 15}, {0x0050, 16}, {0x0051, 17}, {0x0052, 18}, {0x0053, 19}, {0x0058, 20},
        {0x005A, 21}, {0x0000, 22}, {0x0002, 22}, {0x0018, 22}, {0x0900, 22}};
    for (const auto& [profile, media] : profiles) {
        AnswerOnce(kOpGetConfiguration, Profile(profile));
        EXPECT_EQ(modMMC::GetMediaType(drive), media) << profile;
    }
    EXPECT_EQ(HexBytes(transport->Commands()[0].cdb), "46 02 00 00 00 00 00 02 00 00 00 00");
    Answer(kOpGetConfiguration, Sense(5, 0x20));
    EXPECT_EQ(modMMC::GetMediaType(drive), modMMC::Media::kCDROM) << "refused: a CD-ROM drive";
}

// Sessions and tracks are decoded in DiscInfoFake.WrittenDiscAndUnknownMedia.
TEST_F(Queries, DiscInformationReportsItsStatusAndAFailureDecodesAsEmpty) {
    Answer(kOpGetConfiguration, Profile(0x0009));
    Answer(kOpReadDiscInformation, DiscInformation(0x00, 1, 1, 0xFF));
    std::int32_t status = -7;
    EXPECT_EQ(modMMC::GetDiscStatus(drive, status).MediaType, 1);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(CountOf(kOpRead10), 0);  // sector 16 is read for DVD+RW only
    EXPECT_EQ(HexBytes(transport->Commands()[0].cdb), "51 00 00 00 00 00 00 00 1F 00");
    Answer(kOpReadDiscInformation, Sense(6, 0x28));
    const modMMC::DiscInfoRecord disc = modMMC::GetDiscStatus(drive, status);
    EXPECT_EQ(status, ScsiStatus::kCheckCondition);
    EXPECT_EQ(disc.DiscState + disc.LastSessionState + disc.Sessions + disc.DiscType, 0);
    EXPECT_EQ(disc.MediaType, 1);
}

TEST_F(Queries, DiscStatusByteAndDiscTypeByte) {
    struct State {
        std::uint8_t byte2;
        std::int32_t disc, session;
        bool erasable;
    };
    const State states[] = {{0x00, 0, 0, false}, {0x01, 1, 0, false}, {0x02, 3, 0, false},
                            {0x03, 4, 0, false}, {0x04, 0, 1, false}, {0x08, 0, 2, false},
                            {0x0C, 0, 3, false}, {0x1E, 3, 3, true},  {0x15, 1, 1, true},
                            {0xEF, 4, 3, false}};
    Answer(kOpGetConfiguration, Profile(0x000A));
    for (const State& state : states) {
        AnswerOnce(kOpReadDiscInformation, DiscInformation(state.byte2));
        const modMMC::DiscInfoRecord disc = modMMC::GetDiscStatus(drive);
        EXPECT_EQ(disc.DiscState, state.disc) << int(state.byte2);
        EXPECT_EQ(disc.LastSessionState, state.session) << int(state.byte2);
        EXPECT_EQ(disc.Erasable, state.erasable) << int(state.byte2);
    }
    const std::pair<std::uint8_t, std::int32_t> types[] = {
        {0x00, 0}, {0x10, 1}, {0x20, 2}, {0xFF, 3}, {0x01, 3}};
    for (const auto& [byte8, type] : types) {
        AnswerOnce(kOpReadDiscInformation, DiscInformation(0x0E, 1, 1, byte8));
        EXPECT_EQ(modMMC::GetDiscStatus(drive).DiscType, type) << int(byte8);
    }
}

TEST_F(Queries, DVDPlusRWIsCompleteOnlyWithAFileSystem) {
    Answer(kOpGetConfiguration, Profile(0x001A));
    Answer(kOpReadDiscInformation, DiscInformation(0x1E));
    const std::pair<Reply, std::int32_t> cases[] = {
        {Sector(std::string(8, '\0')), 0},      {Sector(kIsoStart), 3},
        {Sector(std::string("\0BEA01", 6)), 3}, {Sector(std::string("\0NSR03", 6)), 3},
        {Sector(std::string("\0TEA01", 6)), 3}, {Sense(5, 0x21), 0}};
    for (const auto& [sector16, state] : cases) {
        transport->ClearCommands();
        AnswerOnce(kOpRead10, sector16);
        const modMMC::DiscInfoRecord disc = modMMC::GetDiscStatus(drive);
        EXPECT_EQ(disc.DiscState, state);
        EXPECT_EQ(disc.LastSessionState, state);
        EXPECT_EQ(CountOf(kOpRead10), 1);  // one read serves both states
        EXPECT_EQ(HexBytes(transport->Commands().back().cdb), "28 00 00 00 00 10 00 00 01 00");
    }
}

// Whole descriptors are recognised in DVDPlusRWIsCompleteOnlyWithAFileSystem.
TEST_F(Queries, VolumeDescriptorTestIsLoose) {
    AnswerOnce(kOpRead10, Sector("xCzzz"));
    EXPECT_TRUE(modMMC::HasVolumeDescriptor(drive));
    AnswerOnce(kOpRead10, Sector("xxDzz"));
    EXPECT_TRUE(modMMC::HasVolumeDescriptor(drive));
    AnswerOnce(kOpRead10, Sector(std::string("\0BEA01", 6)));
    EXPECT_FALSE(modMMC::HasVolumeDescriptor(drive));
    AnswerOnce(kOpRead10, {2, 5, 0x64, 0, std::vector<std::uint8_t>(2048, 'C')});
    EXPECT_FALSE(modMMC::HasVolumeDescriptor(drive));  // data of a failed read is not looked at
    AnswerOnce(kOpRead10, Sector(std::string("\0NSR04", 6)));
    EXPECT_FALSE(modMMC::HasVolumeStructure(drive));
}

TEST_F(Queries, DVDMediaAnswerThePhysicalFormat) {
    AnswerOnce(modMMC::kOpReadDiscStructure, Data({0x08, 0x02, 0, 0, 0x91}));
    EXPECT_TRUE(modMMC::IsDVDMedia(drive));
    EXPECT_EQ(HexBytes(transport->Commands()[0].cdb), "AD 00 00 00 00 00 00 00 02 00 00 00");
    AnswerOnce(modMMC::kOpReadDiscStructure, Data({0x00, 0x01}));
    EXPECT_TRUE(modMMC::IsDVDMedia(drive));
    AnswerOnce(modMMC::kOpReadDiscStructure, Data({0x00, 0x00, 0x12}));
    EXPECT_FALSE(modMMC::IsDVDMedia(drive));
    AnswerOnce(modMMC::kOpReadDiscStructure, Sense(5, 0x30, 0x02));
    EXPECT_FALSE(modMMC::IsDVDMedia(drive));
}

TEST_F(Queries, MediaPresenceFromTheMediaEvent) {
    AnswerOnce(modMMC::kOpGetEventStatus, Data({0, 4, 4, 0x10, 2, 0x02, 0, 0}));
    EXPECT_EQ(modMMC::MediaPresent(drive), 1);
    AnswerOnce(modMMC::kOpGetEventStatus, Data({0, 6, 4, 0x10, 0, 0x01, 0, 0}));  // tray open
    EXPECT_EQ(modMMC::MediaPresent(drive), 0);
    AnswerOnce(modMMC::kOpGetEventStatus, Data({0, 0, 0x84, 0x10, 0, 0x02, 0, 0}));
    EXPECT_EQ(modMMC::MediaPresent(drive), -1);  // no event descriptor
    AnswerOnce(modMMC::kOpGetEventStatus, Sense(5, 0x24));
    EXPECT_EQ(modMMC::MediaPresent(drive), -1);
}

TEST(Names, StatusWordsAndMediaNames) {
    const char* states[] = {"Empty", "unComplete", "Damaged", "Complete", "unKnown", ""};
    for (int n = 0; n < 6; ++n) EXPECT_EQ(modMMC::DiscStatusName(n), states[n]) << n;
    EXPECT_EQ(modMMC::DiscStatusName(-1), "");
    const char* media[] = {"CD-ROM",      "CD-R",        "CD-RW",     "DVD-ROM",    "DVD-R",
                           "DVD-R DL",    "DVD-RW",      "DVD-RW DL", "DVD-RAM",    "DVD+R",
                           "DVD+R DL",    "DVD+RW",      "DVD+RW DL", "BD-ROM",     "BD-R",
                           "BD-RE",       "HD-DVD ROM",  "HD-DVD R",  "HD-DVD RAM", "HD-DVD RW",
                           "HD-DVD R DL", "HD-DVD RW DL"};
    for (int n = 0; n < 22; ++n) EXPECT_EQ(modMMC::MediaName(n), media[n]) << n;
    for (int n : {22, 23, -1}) EXPECT_EQ(modMMC::MediaName(n), "unknown") << n;
}

}  // namespace
