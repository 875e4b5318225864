#include "SenseData.h"

#include <gtest/gtest.h>

TEST(SenseData, DecodesFixedFormat) {
    std::uint8_t sense[18] = {0x70, 0, 0x05, 0, 0, 0, 0, 10, 0, 0, 0, 0, 0x24, 0x01};
    const SenseFields fields = DecodeSense(sense, sizeof sense);
    EXPECT_EQ(fields.key, 0x05);
    EXPECT_EQ(fields.asc, 0x24);
    EXPECT_EQ(fields.ascq, 0x01);
    sense[0] = 0xF1;  // deferred error with the valid bit
    sense[2] = 0xE3;  // filemark/EOM/ILI bits around key 3
    EXPECT_EQ(DecodeSense(sense, sizeof sense).key, 0x03);
}

// The descriptor format through SG_IO: clsSGIO.MapsStatusAndSense.
TEST(SenseData, NeverReadsPastTheLengthAndIgnoresUnknownFormats) {
    const std::uint8_t shortSense[3] = {0x70, 0, 0x06};
    const SenseFields fields = DecodeSense(shortSense, 3);
    EXPECT_EQ(fields.key, 0x06);
    EXPECT_EQ(fields.asc, 0);
    EXPECT_EQ(DecodeSense(nullptr, 0).key, 0);
    const std::uint8_t vendor[18] = {0x7F, 0, 0x05};
    EXPECT_EQ(DecodeSense(vendor, 18).key, 0);
}
