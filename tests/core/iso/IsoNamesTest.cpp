// Short names and Joliet names of sibling groups.
#include <gtest/gtest.h>

#include <random>
#include <set>

#include "JolietNameRules.h"
#include "NameText.h"
#include "ShortNameRules.h"
#include "clsISOWriter.h"

namespace {
using ShortNameRules::DirectoryNames;
using ShortNameRules::FileNames;

std::vector<QString> Names(std::initializer_list<const char*> texts) {
    std::vector<QString> names;
    for (const char* text : texts) names.push_back(QString::fromUtf8(text));
    return names;
}

QString Repeat(const char* unit, int count) {
    return QString::fromUtf8(unit).repeated(count);
}

TEST(IsoShortNames, FileEdgeCases) {
    EXPECT_EQ(FileNames(Names({"Report.docx"})), Names({"REPORT.DOC"}));
    EXPECT_EQ(FileNames(Names({"Report.docx", "Report.docm"})),
              Names({"REPO~1.DOC", "REPO~2.DOC"}));
    EXPECT_EQ(FileNames(Names({"LICENSE"})), Names({"LICENSE."}));
    const QString stem40 = Repeat("a", 29) + Repeat("b", 11);
    const QString other40 = Repeat("a", 29) + Repeat("c", 11);
    EXPECT_EQ(FileNames({stem40 + ".txt", other40 + ".txt"}),
              std::vector<QString>({Repeat("A", 29) + "~1.TXT", Repeat("A", 29) + "~2.TXT"}));
    EXPECT_EQ(FileNames({stem40 + ".txt"}), std::vector<QString>({Repeat("A", 29) + "~1.TXT"}));
    // A numbered name keeps only its part before the first ".", and loses an empty extension.
    EXPECT_EQ(FileNames(Names({"a.b.txt", "a.b.txt2"})), Names({"~1", "~2"}));
    EXPECT_EQ(FileNames({stem40}), std::vector<QString>({Repeat("A", 29) + "~1"}));
    EXPECT_EQ(FileNames({Repeat("x", 31) + ".html"}),
              std::vector<QString>({Repeat("X", 31) + ".HTM"}));
}

TEST(IsoShortNames, FileCollisionsTheRulesLeaveAreCountedOn) {
    // htm/html pairs: each prefix group numbers from 1.
    const auto pages = FileNames(Names({"page1.htm", "page1.html", "page2.htm", "page2.html"}));
    EXPECT_EQ(pages, Names({"PAG~1.HTM", "PAG~2.HTM", "PAG~3.HTM", "PAG~4.HTM"}));
    // A user name "AB~1.TXT" keeps its name; the numbered ones step past it.
    EXPECT_EQ(FileNames(Names({"AB~1.TXT", "abcd.txt", "abcd.txtx"})),
              Names({"AB~1.TXT", "AB~3.TXT", "AB~2.TXT"}));
    // Stems shorter than the suffix keep no stem characters.
    EXPECT_EQ(FileNames(Names({"a.htm", "a.html"})), Names({"~1.HTM", "~2.HTM"}));
    EXPECT_EQ(FileNames(Names({"照片.txt", "文档.txt"})), Names({"~1.TXT", "~2.TXT"}));
}

TEST(IsoShortNames, NamesArePlainAscii) {
    EXPECT_EQ(FileNames(Names({"café.txt"})), Names({"CAF_.TXT"}));
    EXPECT_EQ(FileNames(Names({"😀x.txt"})), Names({"_X.TXT"}));  // one "_" per code point
    EXPECT_EQ(DirectoryNames(Names({"Été"})), Names({"_T_"}));
    // ";" would be read as the start of a version number.
    EXPECT_EQ(FileNames(Names({"semi;colon.txt"})), Names({"SEMI_COLON.TXT"}));
}

TEST(IsoShortNames, DirectoryEdgeCases) {
    const QString name31 = Repeat("d", 31);
    EXPECT_EQ(DirectoryNames({name31}), std::vector<QString>({Repeat("D", 31)}));
    EXPECT_EQ(DirectoryNames({name31 + "e"}), std::vector<QString>({Repeat("D", 29) + "~1"}));
    EXPECT_EQ(DirectoryNames({name31 + "e", name31 + "f"}),
              std::vector<QString>({Repeat("D", 29) + "~1", Repeat("D", 29) + "~2"}));
    std::vector<QString> many;
    for (int i = 0; i < 12; ++i) many.push_back(name31 + QString::number(i));
    EXPECT_EQ(DirectoryNames(many)[9], Repeat("D", 28) + "~10");
    // Short names are never numbered, "~digits" names are numbered like long names.
    EXPECT_EQ(DirectoryNames(Names({"Docs", "b"})), Names({"DOCS", "B"}));
    EXPECT_EQ(DirectoryNames(Names({"PROGRA~1"})), Names({"PROGRA~1"}));
    EXPECT_EQ(DirectoryNames(Names({"a~1", "A~2"})), Names({"A~1", "A~2"}));
    // Names that become equal once mapped are numbered.
    EXPECT_EQ(DirectoryNames(Names({"照片", "文档", "x"})), Names({"__~1", "__~2", "X"}));
}

TEST(IsoShortNames, FilesAndDirectoriesAreNumberedIndependently) {
    clsISOWriter writer;
    writer.Root().AddSubDirectory(QStringLiteral("Report.docx"));
    writer.Root().Files().Add("/x/Report.docx", QString());
    writer.Root().Files().Add("/x/Report.docm", QString());
    writer.AssignNames();
    EXPECT_EQ(writer.Root().SubDirectory(0)->DOSName(), QStringLiteral("REPORT.DOCX"));
    EXPECT_EQ(writer.Root().Files().File(0)->DOSName(), QStringLiteral("REPO~1.DOC"));
    EXPECT_EQ(writer.Root().Files().File(1)->JolietName(), QStringLiteral("Report.docm"));
}

// The numbering rules as literally stated, quadratic, for comparison.
std::vector<QString> ReferenceFileNames(const std::vector<QString>& names) {
    std::vector<QString> dos;
    std::vector<bool> longStem;
    for (const QString& name : names) {
        const QString ascii = NameText::PrintableAscii(name);
        const qsizetype dot = ascii.lastIndexOf(u'.');
        const QString base = dot < 0 ? ascii : ascii.left(dot);
        const QString ext = dot < 0 ? QString() : ascii.mid(dot + 1);
        dos.push_back(base.left(31).toUpper() + "." + ext.left(3).toUpper());
        longStem.push_back(base.size() > 31);
    }
    const auto renamed = [](const QString& old, int counter) {
        const QStringList parts = old.split(u'.');
        QString result = ShortNameRules::TildeRename(parts[0], counter);
        if (parts.size() == 2 && !parts[1].isEmpty()) result += "." + parts[1];
        return result;
    };
    for (std::size_t i = 0; i < dos.size(); ++i) {
        if (dos[i].left(31).contains(u'~')) continue;
        const QString prefix = dos[i].left(29);
        int others = 0;
        for (std::size_t j = 0; j < dos.size(); ++j) others += j != i && dos[j].left(29) == prefix;
        int counter = 1;
        if (others > 0) {
            for (std::size_t j = 0; j < dos.size(); ++j)
                if (dos[j].left(29) == prefix) dos[j] = renamed(dos[j], counter++);
        } else if (!dos[i].contains(u'~') && longStem[i]) {
            dos[i] = renamed(dos[i], 1);
        }
    }
    return dos;
}

bool Distinct(const std::vector<QString>& names) {
    std::set<QString> keys;
    for (const QString& name : names) keys.insert(name.toCaseFolded());
    return keys.size() == names.size();
}

QString RandomName(std::mt19937& random) {
    static const std::vector<QString> pieces = {"a",     "B",   "page",  "照片",
                                                "~",     "~1",  ".",     ".htm",
                                                ".html", "x.y", " ",     "Long" + QString(30, u'n'),
                                                "1",     "é",   "REPORT"};
    QString name;
    const int parts = 1 + static_cast<int>(random() % 4);
    for (int i = 0; i < parts; ++i) name += pieces[random() % pieces.size()];
    return name;
}

TEST(IsoShortNames, RandomSiblingsGetDistinctNamesThatFollowTheRules) {
    std::mt19937 random(20240601);
    int agreed = 0;
    for (int round = 0; round < 3000; ++round) {
        std::vector<QString> names;
        std::set<QString> keys;
        const int count = 1 + static_cast<int>(random() % 12);
        while (static_cast<int>(names.size()) < count) {
            const QString name = RandomName(random);
            if (keys.insert(name.toCaseFolded()).second) names.push_back(name);
        }
        const auto files = FileNames(names);
        const auto directories = DirectoryNames(names);
        ASSERT_TRUE(Distinct(files)) << names.front().toStdString();
        ASSERT_TRUE(Distinct(directories)) << names.front().toStdString();
        for (const QString& name : directories) ASSERT_LE(name.size(), 31);
        const auto reference = ReferenceFileNames(names);
        if (!Distinct(reference)) continue;
        ASSERT_EQ(files, reference) << names.front().toStdString();
        ++agreed;
    }
    EXPECT_GT(agreed, 1000);  // most random sets have no collision left by the rules
}

TEST(IsoShortNames, FiftyThousandSiblingsStayDistinct) {
    std::vector<QString> names;
    // One group: every name shares its first 29 characters.
    for (int i = 0; i < 50000; ++i)
        names.push_back(QStringLiteral("a very long common prefix of files %1.txt").arg(i));
    const auto files = FileNames(names);
    EXPECT_TRUE(Distinct(files));
    EXPECT_EQ(files[0], QStringLiteral("A VERY LONG COMMON PREFIX OF ~1.TXT"));
    EXPECT_EQ(files[49999], QStringLiteral("A VERY LONG COMMON PREFIX~50000.TXT"));
    const auto directories = DirectoryNames(names);
    EXPECT_TRUE(Distinct(directories));
}

TEST(IsoJolietNames, LongNamesAreShortenedToFitTheRecord) {
    const QString shortEnough = Repeat("n", 110);
    EXPECT_EQ(JolietNameRules::Names({shortEnough}), std::vector<QString>({shortEnough}));
    const QString long1 = Repeat("n", 150) + ".txt";
    const QString long2 = Repeat("n", 140) + ".txt";
    const auto names = JolietNameRules::Names({long1, long2});
    EXPECT_EQ(names[0], Repeat("n", 106) + ".txt");
    EXPECT_EQ(names[1], Repeat("n", 104) + "~2.txt");
    for (const QString& name : names) EXPECT_LE(name.size(), 110);
    // A surrogate pair is never split.
    const QString emoji = QString::fromUtf8("😀");
    const QString shortened =
        JolietNameRules::Shorten(Repeat("a", 105) + emoji.repeated(10) + ".txt");
    EXPECT_FALSE(shortened.at(105).isLowSurrogate());
    EXPECT_TRUE(shortened.endsWith(".txt"));
    EXPECT_FALSE(shortened[shortened.size() - 5].isHighSurrogate());
    // A shortened name does not take the name of an existing sibling.
    const auto clash =
        JolietNameRules::Names({Repeat("k", 106) + ".TXT", Repeat("k", 120) + ".txt"});
    EXPECT_EQ(clash[1], Repeat("k", 104) + "~2.txt");
}
}  // namespace
