// Every command operation builds its CDB byte for byte, with its length,
// direction, time limit and buffer.
#include <array>
#include <functional>
#include <vector>

#include "ScriptedDriveTest.h"
#include "ScsiStatus.h"
#include "modMMC.h"

namespace {

std::array<std::uint8_t, 51200> g_buffer{};

struct CdbCase {
    const char* name;
    std::function<void(const std::string&)> call;
    const char* cdb;
    std::int32_t direction;
    std::int32_t timeout;
    std::int32_t bufferLen;
};

const CdbCase kCases[] = {
    {"SetCDSpeedMaximumReadCAV",
     [](const std::string& d) { (void)modMMC::SetCDSpeed(d, 0xFFFF, 11080, -1); },
     "BB 01 FF FF 2B 48 00 00 00 00 00 00", 0, 5, 0},
    {"SetCDSpeedAbove32767",
     [](const std::string& d) { (void)modMMC::SetCDSpeed(d, 2816, 24 * 1385, 0); },
     "BB 00 0B 00 81 D8 00 00 00 00 00 00", 0, 5, 0},
    {"CloseSessionTrack1", [](const std::string& d) { (void)modMMC::CloseTrackSession(d, 2, 1); },
     "5B 00 02 00 00 01 00 00 00 00", 0, 600, 0},
    {"CloseTrackLowByteOfFunction",
     [](const std::string& d) { (void)modMMC::CloseTrackSession(d, 0x101, 0x1234); },
     "5B 00 01 00 12 34 00 00 00 00", 0, 600, 0},
    {"SynchronizeCache", [](const std::string& d) { (void)modMMC::SynchronizeCache(d); },
     "35 00 00 00 00 00 00 00 00 00", 0, 600, 0},
    {"ReadCdQ",
     [](const std::string& d) { (void)modMMC::ReadCdQ(d, 0x12345, 2, g_buffer.data(), 32); },
     "BE 04 00 01 23 45 00 00 02 00 02 00", 0, 10, 32},
    {"SendCueSheet",
     [](const std::string& d) { (void)modMMC::SendCueSheet(d, g_buffer.data(), 48); },
     "5D 00 00 00 00 00 00 00 30 00", 1, 10, 48},
    {"ReadLeadInStart", [](const std::string& d) { (void)modMMC::ReadLeadInStart(d); },
     "43 00 04 00 00 00 00 00 1C 00", 0, 10, 28},
    {"ReadCdTextPacks",
     [](const std::string& d) {
         std::vector<std::uint8_t> answer;
         (void)modMMC::ReadCdTextPacks(d, answer);
     },
     "43 00 05 00 00 00 00 12 04 00", 0, 10, 4 + 256 * 18},
    {"ReadCatalogueNumber", [](const std::string& d) { (void)modMMC::ReadCatalogueNumber(d); },
     "42 00 40 02 00 00 00 00 18 00", 0, 10, 24},
    {"ReadIsrc", [](const std::string& d) { (void)modMMC::ReadIsrc(d, 3); },
     "42 00 40 03 00 00 03 00 18 00", 0, 10, 24},
    {"Write10",
     [](const std::string& d) { (void)modMMC::Write10(d, 0x01020304, 16, g_buffer.data(), 32768); },
     "2A 00 01 02 03 04 00 00 10 00", 1, 600, 32768},
    {"Write10DVDPlusRWErase",
     [](const std::string& d) { (void)modMMC::Write10(d, 275, 25, g_buffer.data(), 51200); },
     "2A 00 00 00 01 13 00 00 19 00", 1, 600, 51200},
    {"Read10Sector16",
     [](const std::string& d) { (void)modMMC::Read10(d, 16, 1, g_buffer.data(), 2048); },
     "28 00 00 00 00 10 00 00 01 00", 0, 5, 2048},
    {"ReadCapacity", [](const std::string& d) { (void)modMMC::ReadCapacity(d); },
     "25 00 00 00 00 00 00 00 00 00 00 00", 0, 5, 8},
    {"ModeSelect10",
     [](const std::string& d) { (void)modMMC::ModeSelect10(d, g_buffer.data(), 60); },
     "55 10 00 00 00 00 00 00 3C 00", 1, 5, 60},
    {"ModeSenseDefault",
     [](const std::string& d) { (void)modMMC::ModeSenseDefault(d, 0x05, g_buffer.data(), 512); },
     "5A 08 85 00 00 00 00 02 00 00", 0, 5, 512},
    {"ModeSense10Current",
     [](const std::string& d) { (void)modMMC::ModeSense10(d, 0x2A, g_buffer.data(), 50); },
     "5A 00 2A 00 00 00 00 00 32 00", 0, 5, 50},
    {"ModeSense10MasksPageControl",
     [](const std::string& d) { (void)modMMC::ModeSense10(d, 0xC5, g_buffer.data(), 50); },
     "5A 00 05 00 00 00 00 00 32 00", 0, 5, 50},
    {"BlankMinimal", [](const std::string& d) { (void)modMMC::Blank(d, 1); },
     "A1 01 00 00 00 00 00 00 00 00 00 00", 0, 9999, 0},
    {"BlankWholeDisc", [](const std::string& d) { (void)modMMC::Blank(d, 0); },
     "A1 00 00 00 00 00 00 00 00 00 00 00", 0, 9999, 0},
    {"ReadDiscInformation",
     [](const std::string& d) {
         modMMC::DiscInformationBlock block{};
         (void)modMMC::ReadDiscInformation(d, block);
     },
     "51 00 00 00 00 00 00 00 1F 00", 0, 5, 31},
    {"ReadTrackInformationLowByte",
     [](const std::string& d) {
         (void)modMMC::ReadTrackInformation(d, 1, 0x102, g_buffer.data(), 35);
     },
     "52 01 00 00 00 02 00 00 23 00", 0, 5, 35},
    {"ReadDiscStructure",
     [](const std::string& d) {
         (void)modMMC::ReadDiscStructure(d, 0x01020304, 1, 0, g_buffer.data(), 512);
     },
     "AD 00 01 02 03 04 01 00 02 00 00 00", 0, 10, 512},
    {"GetConfiguration",
     [](const std::string& d) { (void)modMMC::GetConfiguration(d, 0, 2, g_buffer.data(), 512); },
     "46 02 00 00 00 00 00 02 00 00 00 00", 0, 10, 512},
    {"GetConfigurationStartingFeature",
     [](const std::string& d) { (void)modMMC::GetConfiguration(d, 0x2D, 1, g_buffer.data(), 300); },
     "46 01 00 2D 00 00 00 01 2C 00 00 00", 0, 10, 300},
    {"GetEventStatusMedia",
     [](const std::string& d) { (void)modMMC::GetEventStatus(d, 0x10, g_buffer.data(), 8); },
     "4A 01 00 00 10 00 00 00 08 00 00 00", 0, 5, 8},
    {"GetEventStatusLongest",
     [](const std::string& d) { (void)modMMC::GetEventStatus(d, 0x10, g_buffer.data(), 255); },
     "4A 01 00 00 10 00 00 00 FF 00 00 00", 0, 5, 255},
};

class CommandCdb : public ScriptedDriveTest {};

TEST_F(CommandCdb, EveryOperationIsByteExact) {
    for (const CdbCase& c : kCases) {
        transport->ClearCommands();
        c.call(drive);
        ASSERT_EQ(transport->Commands().size(), 1u) << c.name;
        const auto& command = transport->Commands()[0];
        EXPECT_EQ(HexBytes(command.cdb), c.cdb) << c.name;
        EXPECT_EQ(command.direction, c.direction) << c.name;
        EXPECT_EQ(command.timeout, c.timeout) << c.name;
        EXPECT_EQ(command.bufferLen, c.bufferLen) << c.name;
        EXPECT_EQ(command.drive, drive) << c.name;
    }
}

TEST_F(CommandCdb, StatusOperationsPassTheStatusThrough) {
    Answer(modMMC::kOpSynchronizeCache, Sense(3, 0x0C));
    EXPECT_EQ(modMMC::SynchronizeCache(drive), ScsiStatus::kCheckCondition);
    EXPECT_EQ(transport->LastASC(), 0x0C);  // the sense stays readable
    Answer(modMMC::kOpBlank, {ScsiStatus::kServiceFailure, 0, 0, 0, {}});
    EXPECT_EQ(modMMC::Blank(drive, 0), ScsiStatus::kServiceFailure);
    EXPECT_EQ(modMMC::SetCDSpeed(drive, 1, 2, 0), ScsiStatus::kGood);
}

TEST_F(CommandCdb, BooleanOperationsAreTrueOnlyOnGoodStatus) {
    std::array<std::uint8_t, 512> reply{};
    EXPECT_TRUE(modMMC::GetConfiguration(drive, 0, 2, reply.data(), 512));
    EXPECT_TRUE(modMMC::ReadDiscStructure(drive, 0, 0, 0, reply.data(), 512));
    EXPECT_TRUE(modMMC::ReadTrackInformation(drive, 1, 1, reply.data(), 35));
    EXPECT_TRUE(modMMC::GetEventStatus(drive, 0x10, reply.data(), 8));
    transport->SetResponder([](const auto&) { return Sense(5, 0x24); });
    EXPECT_FALSE(modMMC::GetConfiguration(drive, 0, 2, reply.data(), 512));
    EXPECT_FALSE(modMMC::ReadDiscStructure(drive, 0, 0, 0, reply.data(), 512));
    EXPECT_FALSE(modMMC::ReadTrackInformation(drive, 1, 1, reply.data(), 35));
    EXPECT_FALSE(modMMC::GetEventStatus(drive, 0x10, reply.data(), 8));
    transport->SetResponder([](const auto&) { return Reply{ScsiStatus::kBusy, 0, 0, 0, {}}; });
    EXPECT_FALSE(modMMC::GetEventStatus(drive, 0x10, reply.data(), 8));
}

TEST_F(CommandCdb, ReadCapacityGivesTheLastLbaOrMinusOne) {
    AnswerOnce(modMMC::kOpReadCapacity, Data({0x00, 0x05, 0x7E, 0x3F, 0x00, 0x00, 0x08, 0x00}));
    EXPECT_EQ(modMMC::ReadCapacity(drive), 0x57E3F);
    AnswerOnce(modMMC::kOpReadCapacity, Data({0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x08, 0x00}));
    EXPECT_EQ(modMMC::ReadCapacity(drive), 0xFFFFFFFFLL);  // a valid LBA, not the failure value
    AnswerOnce(modMMC::kOpReadCapacity, Sense(2, 0x3A));   // no medium
    EXPECT_EQ(modMMC::ReadCapacity(drive), -1);
}

}  // namespace
