#include "SettingsStore.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "IniFile.h"
#include "TestEnvironment.h"
#include "ValLike.h"

namespace {

class SettingsStoreTest : public ::testing::Test {
  protected:
    void SetUp() override { setenv("MAPLE_CONFIG_DIR", folder.Path().string().c_str(), 1); }
    void TearDown() override { unsetenv("MAPLE_CONFIG_DIR"); }
    TempFolder folder;
};

// Values going in and out are proved by the windows that keep them
// (tst_frmMainTasks, tst_frmSaveISO).
TEST_F(SettingsStoreTest, OneFileNamedAfterTheProgramWithSeparateSections) {
    EXPECT_EQ(GetProgramSetting("TempISO", "x"), "x");
    SaveProgramSetting("TempISO", "");
    EXPECT_EQ(GetProgramSetting("TempISO", "x"), "");  // an empty value is a value
    const auto file = folder.Path() / "MAPLE CD-DVD Writer.ini";
    EXPECT_TRUE(std::filesystem::is_regular_file(file));
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "MAPLE CD"));
    EXPECT_NE(ReadFile(file.string()).find("[Setting]"), std::string::npos);
    SaveSetting("Other App", "Setting", "Key", "a");
    SaveSetting("Other App", "Other", "Key", "b");
    EXPECT_EQ(GetSetting("Other App", "Setting", "Key", ""), "a");
    EXPECT_EQ(GetSetting("Other App", "Other", "Key", ""), "b");
    EXPECT_EQ(GetProgramSetting("Key", "none"), "none");
}

TEST(ValLike, ReadsTheLeadingNumberOrZero) {
    const std::pair<const char*, double> cases[] = {
        {"12", 12},   {"  -3", -3}, {"12abc", 12}, {"abc", 0},    {"", 0},   {"1 2", 12},
        {"&H10", 16}, {"&O17", 15}, {"1e3", 1000}, {"2.5x", 2.5}, {"1e", 1}, {"-", 0}};
    for (const auto& [text, value] : cases) EXPECT_EQ(ValLike(text), value) << text;
}

TEST(ValLike, IntegerReadingRoundsHalvesToEven) {
    EXPECT_EQ(ValLikeInt("2.5"), 2);
    EXPECT_EQ(ValLikeInt("3.5"), 4);
    EXPECT_EQ(ValLikeInt("garbage"), 0);
    EXPECT_EQ(ValLikeInt("1e30"), 0);  // out of range reads as 0, not undefined
}

}  // namespace

namespace {

// A file as the Qt-based versions of the program wrote it.
constexpr const char* kWrittenByQt =
    "[%General]\n"
    "g=x\n"
    "\n"
    "[Other%20Section]\n"
    "key%20with%20space=v\n"
    "%DCn%EF=w\n"
    "\n"
    "[Setting]\n"
    "At=@@home\n"
    "Ctl=a\\x1\\x62\n"
    "DefaultDrive=1\n"
    "Empty=\n"
    "Quote=say \\\"hi\\\"\\\\ \\t tab\\nline\n"
    "Spaces=\" padded \"\n"
    "TempISO=\"/home/\xe6\x9d\x8e/a, b;c=d.iso\"\n";

struct StoredValue {
    const char* section;
    const char* key;
    std::string value;
};
const StoredValue kStoredValues[] = {
    {"General", "g", "x"},
    {"Other Section", "key with space", "v"},
    {"Other Section", "\xc3\x9cn\xc3\xaf", "w"},
    {"Setting", "At", "@home"},
    {"Setting", "Ctl", std::string("a\x01") + "b"},
    {"Setting", "DefaultDrive", "1"},
    {"Setting", "Empty", ""},
    {"Setting", "Quote", "say \"hi\"\\ \t tab\nline"},
    {"Setting", "Spaces", " padded "},
    {"Setting", "TempISO", "/home/\xe6\x9d\x8e/a, b;c=d.iso"},
};

TEST(IniFile, ReadsAndWritesTheFilesOfEarlierVersions) {
    TempFolder folder;
    const std::string path = folder.File("old.ini");
    WriteFile(path, kWrittenByQt);
    IniFile old;
    ASSERT_TRUE(old.Load(path));
    for (const auto& stored : kStoredValues)
        EXPECT_EQ(old.Value(stored.section, stored.key), stored.value) << stored.key;
    IniFile fresh;
    for (const auto& stored : kStoredValues)
        fresh.SetValue(stored.section, stored.key, stored.value);
    ASSERT_TRUE(fresh.Save(path));
    EXPECT_EQ(ReadFile(path), kWrittenByQt);
}

TEST(IniFile, ToleratesHandEditedFiles) {
    TempFolder folder;
    const std::string path = folder.File("edited.ini");
    WriteFile(path,
              "\xef\xbb\xbf; a comment\r\n[Setting]\r\nA = 1 ; note\r\nList=a, b\r\n"
              "Gone=@Invalid()\r\nB=\"multi\nline\"\r\n[Setting]\r\nA=2\r\n");
    IniFile file;
    ASSERT_TRUE(file.Load(path));
    EXPECT_EQ(file.Value("Setting", "A"), "2");
    EXPECT_EQ(file.Value("Setting", "List"), "");
    EXPECT_EQ(file.Value("Setting", "Gone"), std::nullopt);
    EXPECT_EQ(file.Value("Setting", "B"), "multi\nline");
    EXPECT_FALSE(file.Load(folder.Path().string()));  // a folder is no readable file
}

// Values whose text as read would swallow the line written after them, and a
// key whose written form would escape its "=".
TEST(IniFile, SavingOneSettingKeepsEveryOtherValue) {
    using namespace std::string_literals;
    const std::string files[] = {
        "[Setting]\nTempISO=/tmp/a b.iso\nDefaultD=iev\"rx,\0\0\0\x1bGeneral]\nk=A\t@@v\n"s,
        "[Setting]\nTempISO=/tmp/a.iso\nDefaultD=ends in \\",
        "[Setting]\nTempISO=/tmp/a.iso\nDefaultD=\"@Invalid()",
        "[Setting]\nTempISO=/tmp/a.iso\nDefaultD/=x\n",  // a key ending in "/"
    };
    TempFolder folder;
    const std::string path = folder.File("settings.ini");
    for (const std::string& text : files) {
        WriteFile(path, text);
        IniFile before;
        ASSERT_TRUE(before.Load(path));
        IniFile changed = before;
        changed.SetValue("Setting", "CDorDVD", "1");
        ASSERT_TRUE(changed.Save(path));
        IniFile after;
        ASSERT_TRUE(after.Load(path));
        EXPECT_EQ(after.Value("Setting", "CDorDVD"), "1") << text;
        for (const char* key : {"TempISO", "DefaultD", "DefaultD/"})
            EXPECT_EQ(after.Value("Setting", key), before.Value("Setting", key)) << key << text;
    }
}

}  // namespace
