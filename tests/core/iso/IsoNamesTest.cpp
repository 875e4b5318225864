// Short names and Joliet names of sibling groups.
#include <gtest/gtest.h>

#include <random>
#include <set>

#include "CaseFolding.h"
#include "JolietNameRules.h"
#include "ShortNameRules.h"
#include "clsISOWriter.h"

namespace {
using ShortNameRules::DirectoryNames;
using ShortNameRules::FileNames;
using Names = std::vector<std::string>;

template <typename Text>
Text Repeat(const Text& unit, int count) {
    Text text;
    for (int i = 0; i < count; ++i) text += unit;
    return text;
}

std::string Repeat(const char* unit, int count) {
    return Repeat(std::string(unit), count);
}

TEST(IsoShortNames, FileEdgeCases) {
    EXPECT_EQ(FileNames({"Report.docx"}), Names({"REPORT.DOC"}));
    EXPECT_EQ(FileNames({"Report.docx", "Report.docm"}), Names({"REPO~1.DOC", "REPO~2.DOC"}));
    EXPECT_EQ(FileNames({"LICENSE"}), Names({"LICENSE."}));
    const std::string stem40 = Repeat("a", 29) + Repeat("b", 11);
    const std::string other40 = Repeat("a", 29) + Repeat("c", 11);
    EXPECT_EQ(FileNames({stem40 + ".txt", other40 + ".txt"}),
              Names({Repeat("A", 29) + "~1.TXT", Repeat("A", 29) + "~2.TXT"}));
    EXPECT_EQ(FileNames({stem40 + ".txt"}), Names({Repeat("A", 29) + "~1.TXT"}));
    // A numbered name keeps only its part before the first ".", and loses an empty extension.
    EXPECT_EQ(FileNames({"a.b.txt", "a.b.txt2"}), Names({"~1", "~2"}));
    EXPECT_EQ(FileNames({stem40}), Names({Repeat("A", 29) + "~1"}));
    EXPECT_EQ(FileNames({Repeat("x", 31) + ".html"}), Names({Repeat("X", 31) + ".HTM"}));
}

TEST(IsoShortNames, FileCollisionsTheRulesLeaveAreCountedOn) {
    // htm/html pairs: each prefix group numbers from 1.
    const auto pages = FileNames({"page1.htm", "page1.html", "page2.htm", "page2.html"});
    EXPECT_EQ(pages, Names({"PAG~1.HTM", "PAG~2.HTM", "PAG~3.HTM", "PAG~4.HTM"}));
    // A user name "AB~1.TXT" keeps its name; the numbered ones step past it.
    EXPECT_EQ(FileNames({"AB~1.TXT", "abcd.txt", "abcd.txtx"}),
              Names({"AB~1.TXT", "AB~3.TXT", "AB~2.TXT"}));
    // Stems shorter than the suffix keep no stem characters.
    EXPECT_EQ(FileNames({"a.htm", "a.html"}), Names({"~1.HTM", "~2.HTM"}));
    EXPECT_EQ(FileNames({"照片.txt", "文档.txt"}), Names({"~1.TXT", "~2.TXT"}));
}

TEST(IsoShortNames, NamesArePlainAscii) {
    EXPECT_EQ(FileNames({"café.txt"}), Names({"CAF_.TXT"}));
    EXPECT_EQ(FileNames({"😀x.txt"}), Names({"_X.TXT"}));  // one "_" per code point
    EXPECT_EQ(DirectoryNames({"Été"}), Names({"_T_"}));
    // ";" would be read as the start of a version number.
    EXPECT_EQ(FileNames({"semi;colon.txt"}), Names({"SEMI_COLON.TXT"}));
}

TEST(IsoShortNames, DirectoryEdgeCases) {
    const std::string name31 = Repeat("d", 31);
    EXPECT_EQ(DirectoryNames({name31}), Names({Repeat("D", 31)}));
    EXPECT_EQ(DirectoryNames({name31 + "e"}), Names({Repeat("D", 29) + "~1"}));
    EXPECT_EQ(DirectoryNames({name31 + "e", name31 + "f"}),
              Names({Repeat("D", 29) + "~1", Repeat("D", 29) + "~2"}));
    Names many;
    for (int i = 0; i < 12; ++i) many.push_back(name31 + std::to_string(i));
    EXPECT_EQ(DirectoryNames(many)[9], Repeat("D", 28) + "~10");
    // Short names are never numbered, "~digits" names are numbered like long names.
    EXPECT_EQ(DirectoryNames({"Docs", "b"}), Names({"DOCS", "B"}));
    EXPECT_EQ(DirectoryNames({"PROGRA~1"}), Names({"PROGRA~1"}));
    EXPECT_EQ(DirectoryNames({"a~1", "A~2"}), Names({"A~1", "A~2"}));
    // Names that become equal once mapped are numbered.
    EXPECT_EQ(DirectoryNames({"照片", "文档", "x"}), Names({"__~1", "__~2", "X"}));
}

TEST(IsoShortNames, FilesAndDirectoriesAreNumberedIndependently) {
    clsISOWriter writer;
    writer.Root().AddSubDirectory("Report.docx");
    writer.Root().Files().Add("/x/Report.docx", "");
    writer.Root().Files().Add("/x/Report.docm", "");
    writer.AssignNames();
    EXPECT_EQ(writer.Root().SubDirectory(0)->DOSName(), "REPORT.DOCX");
    EXPECT_EQ(writer.Root().Files().File(0)->DOSName(), "REPO~1.DOC");
}

bool Distinct(const Names& names) {
    std::set<std::u16string> keys;
    for (const std::string& name : names) keys.insert(CaseFolding::Key(name));
    return keys.size() == names.size();
}

std::string RandomName(std::mt19937& random) {
    static const Names pieces = {"a",   "B",  ".", ".htm",   ".html",
                                 "x.y", " ",  "1", "page",   "照片",
                                 "~",   "~1", "é", "REPORT", "Long" + std::string(30, 'n')};
    std::string name;
    const int parts = 1 + static_cast<int>(random() % 4);
    for (int i = 0; i < parts; ++i) name += pieces[random() % pieces.size()];
    return name;
}

TEST(IsoShortNames, RandomSiblingsGetDistinctShortNames) {
    std::mt19937 random(20240601);
    for (int round = 0; round < 3000; ++round) {
        Names names;
        std::set<std::u16string> keys;
        const int count = 1 + static_cast<int>(random() % 12);
        while (static_cast<int>(names.size()) < count) {
            const std::string name = RandomName(random);
            if (keys.insert(CaseFolding::Key(name)).second) names.push_back(name);
        }
        ASSERT_TRUE(Distinct(FileNames(names))) << names.front();
        const auto directories = DirectoryNames(names);
        ASSERT_TRUE(Distinct(directories)) << names.front();
        for (const std::string& name : directories) ASSERT_LE(name.size(), 31u);
    }
}

TEST(IsoShortNames, FiftyThousandSiblingsStayDistinct) {
    Names names;
    // One group: every name shares its first 29 characters.
    for (int i = 0; i < 50000; ++i)
        names.push_back("a very long common prefix of files " + std::to_string(i) + ".txt");
    const auto files = FileNames(names);
    EXPECT_TRUE(Distinct(files));
    EXPECT_EQ(files[49999], "A VERY LONG COMMON PREFIX~50000.TXT");
    const auto directories = DirectoryNames(names);
    EXPECT_TRUE(Distinct(directories));
}

TEST(IsoJolietNames, LongNamesAreShortenedToFitTheRecord) {
    using Names16 = std::vector<std::u16string>;
    const std::u16string n = u"n";
    const std::u16string shortEnough = Repeat(n, 110);
    EXPECT_EQ(JolietNameRules::Names({shortEnough}), Names16({shortEnough}));
    const auto names = JolietNameRules::Names({Repeat(n, 150) + u".txt", Repeat(n, 140) + u".txt"});
    EXPECT_EQ(names[0], Repeat(n, 106) + u".txt");
    EXPECT_EQ(names[1], Repeat(n, 104) + u"~2.txt");
    for (const std::u16string& name : names) EXPECT_LE(name.size(), 110u);
    // A surrogate pair is never split.
    const std::u16string shortened = JolietNameRules::Shorten(
        Repeat(std::u16string(u"a"), 105) + Repeat(std::u16string(u"😀"), 10) + u".txt");
    EXPECT_FALSE(shortened.at(105) >= 0xDC00 && shortened.at(105) <= 0xDFFF);
    EXPECT_TRUE(shortened.ends_with(u".txt"));
    EXPECT_FALSE(shortened[shortened.size() - 5] >= 0xD800 &&
                 shortened[shortened.size() - 5] <= 0xDBFF);
    // A shortened name does not take the name of an existing sibling.
    const auto clash = JolietNameRules::Names(
        {Repeat(std::u16string(u"k"), 106) + u".TXT", Repeat(std::u16string(u"k"), 120) + u".txt"});
    EXPECT_EQ(clash[1], Repeat(std::u16string(u"k"), 104) + u"~2.txt");
}
}  // namespace
