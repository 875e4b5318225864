#include "LanguageFile.h"

#include <gtest/gtest.h>

#include "TestEnvironment.h"
#include "TextCatalogue.h"

namespace {

TEST(LanguageName, MapsLocalesToLanguageFiles) {
    const std::pair<const char*, const char*> cases[] = {{"zh_CN.UTF-8", "Chinese Simple"},
                                                         {"zh_TW", "Chinese Tradition"},
                                                         {"zh_HK.UTF-8", "Chinese Tradition"},
                                                         {"en_US.UTF-8", "English"},
                                                         {"en_US@euro", "English"},
                                                         {"en_GB.UTF-8", ""},
                                                         {"C", ""},
                                                         {"POSIX", ""},
                                                         {"", ""}};
    for (const auto& [locale, name] : cases)
        EXPECT_EQ(LanguageNameForLocale(locale), name) << locale;
}

TEST(LanguageName, ReadsLcAllBeforeLcMessagesBeforeLang) {
    const std::string saved[3] = {getenv("LC_ALL") ? getenv("LC_ALL") : "",
                                  getenv("LC_MESSAGES") ? getenv("LC_MESSAGES") : "",
                                  getenv("LANG") ? getenv("LANG") : ""};
    setenv("LC_ALL", "", 1);
    setenv("LC_MESSAGES", "zh_TW.UTF-8", 1);
    setenv("LANG", "en_US.UTF-8", 1);
    EXPECT_EQ(GetLanguageName(), "Chinese Tradition");
    setenv("LC_ALL", "en_US.UTF-8", 1);
    EXPECT_EQ(GetLanguageName(), "English");
    unsetenv("LC_ALL");
    unsetenv("LC_MESSAGES");
    EXPECT_EQ(GetLanguageName(), "English");
    setenv("LC_ALL", saved[0].c_str(), 1);
    setenv("LC_MESSAGES", saved[1].c_str(), 1);
    setenv("LANG", saved[2].c_str(), 1);
}

class ReadKeyValueTest : public ::testing::Test {
  protected:
    TempFolder folder;
    std::string path = folder.File("English.lng");
};

TEST_F(ReadKeyValueTest, FindsTheFirstLineHoldingKeyAndEquals) {
    WriteFile(path,
              "[frmMain]\n"
              "; comment\n"
              "frmMain.Label10=ten\n"
              "frmMain.Label1=Pick a recorder: \n"
              "frmMain.Label1=second\n"
              "k=a=b\n"
              "  indented.key=found anywhere\n"
              "frmMain.Label2=\n");
    EXPECT_EQ(ReadKeyValue(path, "frmMain.Label1"), "Pick a recorder: ");  // untrimmed, first wins
    EXPECT_EQ(ReadKeyValue(path, "frmMain.Label10"), "ten");
    EXPECT_EQ(ReadKeyValue(path, "k"), "a=b");
    EXPECT_EQ(ReadKeyValue(path, "indented.key"), "found anywhere");
    EXPECT_EQ(ReadKeyValue(path, "frmMain.Label2"), "");
    EXPECT_EQ(ReadKeyValue(path, "frmmain.label1"), "");  // case matters
    EXPECT_EQ(ReadKeyValue(path, "frmMain.Label3"), "");
}

TEST_F(ReadKeyValueTest, EndsLinesAtCrlfCrOrLf) {
    WriteFile(path,
              "\xEF\xBB\xBF"
              "first=one\r\nsecond=二\r\r\nthird=3\rfourth=4\n\rlast=end");
    EXPECT_EQ(ReadKeyValue(path, "first"), "one");  // a BOM does not hide the first key
    EXPECT_EQ(ReadKeyValue(path, "second"), "二");
    EXPECT_EQ(ReadKeyValue(path, "third"), "3");
    EXPECT_EQ(ReadKeyValue(path, "fourth"), "4");
    EXPECT_EQ(ReadKeyValue(path, "last"), "end");
}

TEST_F(ReadKeyValueTest, RereadsTheFileOnEveryLookupAndAMissingFileGivesEmpty) {
    WriteFile(path, "a=1\n");
    EXPECT_EQ(ReadKeyValue(path, "a"), "1");
    WriteFile(path, "a=2\n");
    EXPECT_EQ(ReadKeyValue(path, "a"), "2");
    EXPECT_EQ(ReadKeyValue(folder.File("none.lng"), "a"), "");
}

TEST_F(ReadKeyValueTest, TheCatalogueReadsTheFileOnceAndFallsBackToBuiltInTexts) {
    WriteFile(path,
              "frmErase.String07=Erasing ...\nfrmErase.String08=\n"
              "Engines.DataTooBig=%2 of %1, then %1 %3\n");
    SetLanguageFilePath(path);
    EXPECT_EQ(TextCatalogue::Text("frmErase.String07", "正在抹除光碟 ..."), "Erasing ...");
    EXPECT_EQ(TextCatalogue::Text("frmErase.String08", "光碟抹除成功!"), "光碟抹除成功!");  // empty
    EXPECT_EQ(TextCatalogue::Text("frmErase.String09", "信息"), "信息");  // missing
    // Each value at its first place; a value left out is no error.
    EXPECT_EQ(TextCatalogue::Text("Engines.DataTooBig", "", {"a", "b"}), "b of a, then %1 %3");
    WriteFile(path, "frmErase.String07=changed\nfrmErase.String09=new\n");
    EXPECT_EQ(TextCatalogue::Text("frmErase.String07", ""), "Erasing ...");  // read once
    EXPECT_EQ(TextCatalogue::Text("frmErase.String09", "信息"), "信息");
    SetLanguageFilePath("");
    EXPECT_EQ(TextCatalogue::Text("frmErase.String07", "正在抹除光碟 ..."), "正在抹除光碟 ...");
}

}  // namespace
