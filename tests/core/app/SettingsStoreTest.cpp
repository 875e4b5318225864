#include "SettingsStore.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "TestEnvironment.h"
#include "ValLike.h"

namespace {

class SettingsStoreTest : public ::testing::Test {
  protected:
    void SetUp() override { setenv("MAPLE_CONFIG_DIR", folder.Path().c_str(), 1); }
    void TearDown() override { unsetenv("MAPLE_CONFIG_DIR"); }
    TempFolder folder;
};

TEST_F(SettingsStoreTest, RoundTripsAndDefaults) {
    EXPECT_EQ(GetProgramSetting("DefaultDrive", "0"), "0");
    EXPECT_EQ(GetProgramSetting("TempISO"), "");
    SaveProgramSetting("DefaultDrive", "1");
    SaveProgramSetting("TempISO", "/home/李/tempiso.iso");
    SaveProgramSetting("TempX0", "-1500");
    EXPECT_EQ(GetProgramSetting("DefaultDrive", "0"), "1");
    EXPECT_EQ(GetProgramSetting("TempISO"), "/home/李/tempiso.iso");
    EXPECT_EQ(ValLikeInt(GetProgramSetting("TempX0")), -1500);
    SaveProgramSetting("TempISO", "");
    EXPECT_EQ(GetProgramSetting("TempISO", "x"), "");  // an empty value is a value
}

TEST_F(SettingsStoreTest, TheApplicationNameMakesOneFileNotAFolder) {
    SaveProgramSetting("CDorDVD", "1");
    const auto file = folder.Path() / "MAPLE CD-DVD Writer.ini";
    EXPECT_TRUE(std::filesystem::is_regular_file(file));
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "MAPLE CD"));
    EXPECT_NE(ReadFile(file.string()).find("[Setting]"), std::string::npos);
}

TEST_F(SettingsStoreTest, SectionsAndApplicationsAreSeparate) {
    SaveSetting("Other App", "Setting", "Key", "a");
    SaveSetting("Other App", "Other", "Key", "b");
    EXPECT_EQ(GetSetting("Other App", "Setting", "Key", ""), "a");
    EXPECT_EQ(GetSetting("Other App", "Other", "Key", ""), "b");
    EXPECT_EQ(GetProgramSetting("Key", "none"), "none");
}

TEST(ValLike, ReadsTheLeadingNumberOrZero) {
    EXPECT_EQ(ValLike("12"), 12);
    EXPECT_EQ(ValLike("  -3"), -3);
    EXPECT_EQ(ValLike("12abc"), 12);
    EXPECT_EQ(ValLike("abc"), 0);
    EXPECT_EQ(ValLike(""), 0);
    EXPECT_EQ(ValLike("1 2"), 12);
    EXPECT_EQ(ValLike("&H10"), 16);
    EXPECT_EQ(ValLike("&O17"), 15);
    EXPECT_EQ(ValLike("1e3"), 1000);
    EXPECT_EQ(ValLike("2.5x"), 2.5);
    EXPECT_EQ(ValLike("1e"), 1);
    EXPECT_EQ(ValLike("-"), 0);
}

TEST(ValLike, IntegerReadingRoundsHalvesToEven) {
    EXPECT_EQ(ValLikeInt("2.5"), 2);
    EXPECT_EQ(ValLikeInt("3.5"), 4);
    EXPECT_EQ(ValLikeInt("garbage"), 0);
    EXPECT_EQ(ValLikeInt("1e30"), 0);  // out of range reads as 0, not undefined
}

}  // namespace
