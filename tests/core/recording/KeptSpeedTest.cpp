// The speed a user chose survives a change of disc: the same factor, else
// the nearest lower one, else the slowest offered; "Default" stays.
#include <gtest/gtest.h>

#include "SpeedList.h"

namespace {
SpeedList Offered(std::initializer_list<int> factors) {
    SpeedList list{DefaultSpeedEntry()};
    for (int factor : factors) list.push_back(SpeedEntryOf(factor));
    return list;
}
}  // namespace

TEST(KeptSpeed, TheSameFactorElseTheNearestLowerElseTheSlowest) {
    const SpeedList cd = Offered({48, 40, 32, 24, 16});
    EXPECT_EQ(cd[KeptSpeedIndex(cd, 24)].factor, 24);
    EXPECT_EQ(cd[KeptSpeedIndex(cd, 36)].factor, 32);  // not 40: never faster than chosen
    EXPECT_EQ(cd[KeptSpeedIndex(cd, 52)].factor, 48);
    EXPECT_EQ(cd[KeptSpeedIndex(cd, 8)].factor, 16);  // nothing lower: the slowest
    EXPECT_EQ(KeptSpeedIndex(cd, 0), 0u);             // "Default"
    // Lists are highest first, but the rule does not depend on it.
    const SpeedList unordered = Offered({4, 12, 8});
    EXPECT_EQ(unordered[KeptSpeedIndex(unordered, 10)].factor, 8);
    EXPECT_EQ(KeptSpeedIndex(SpeedList{DefaultSpeedEntry()}, 16), 0u);
}
