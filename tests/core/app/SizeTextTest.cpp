#include <gtest/gtest.h>

#include "SizeText.h"

TEST(SizeText, RangesRoundHalvesAwayFromZero) {
    const std::pair<std::int64_t, const char*> cases[] = {
        {0, "0 bytes"},
        {1023, "1023 bytes"},
        {1024, "1 KB"},
        {1535, "1 KB"},
        {1536, "2 KB"},
        {2560, "3 KB"},
        {1048575, "1024 KB"},
        {1048576, "1.00 MB"},
        {1179648, "1.13 MB"},
        {1073741823, "1024.00 MB"},
        {1073741824, "1.00 GB"},
        {5 * 1073741824LL + 536870912, "5.50 GB"},
        {-1, ""},
    };
    for (const auto& [bytes, text] : cases) EXPECT_EQ(SizeText(bytes), text) << bytes;
}
