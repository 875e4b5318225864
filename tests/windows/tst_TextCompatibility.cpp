// The core's own text rules against Qt, which the windows use: names
// compared ignoring case, UTF-8 decoding and the settings files must agree
// with what the windows and the earlier Qt-based core did.
#include <QList>
#include <QSettings>
#include <QTest>
#include <random>

#include "CaseFolding.h"
#include "IniFile.h"
#include "TestEnvironment.h"
#include "UnicodeText.h"

class tst_TextCompatibility : public QObject {
    Q_OBJECT

  private slots:
    void caseFoldingMatchesQtForEveryCodePoint() {
        for (char32_t c = 0; c <= 0x10FFFF; ++c) {
            if (c >= 0xD800 && c <= 0xDFFF) continue;
            std::u16string units;
            UnicodeText::AppendCodePoint(units, c);
            const QString text(reinterpret_cast<const QChar*>(units.data()),
                               static_cast<qsizetype>(units.size()));
            const QList<uint> folded = text.toCaseFolded().toUcs4();
            QVERIFY2(folded.size() == 1 && CaseFolding::Fold(c) == folded.front(),
                     qPrintable(QString::number(c, 16)));
        }
    }

    void utf8DecodingMatchesQt() {
        static const char kBytes[] =
            "A\x80\xbf\xc0\xc1\xc2\xdf\xe0\xe1\xed\xef\xbb\xf0\xf4\xf5"
            "\xff\x90\xa0\x8f\x9f\\";
        std::mt19937 random(7);
        for (int round = 0; round < 200000; ++round) {
            std::string bytes;
            for (int i = static_cast<int>(random() % 8); i > 0; --i)
                bytes += kBytes[random() % (sizeof kBytes - 1)];
            const QString qt =
                QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
            QCOMPARE(UnicodeText::Utf8ToUtf16(bytes), qt.toStdU16String());
            QCOMPARE(UnicodeText::ValidUtf8(bytes), qt.toStdString());
        }
    }

    void settingsFilesTravelBothWays() {
        const std::vector<std::string> values = {"plain",
                                                 "",
                                                 " padded ",
                                                 "@at",
                                                 "a, b;c=d",
                                                 "quote \" back \\ tab \t nl \n",
                                                 "\x01\x1f"
                                                 "1f",
                                                 "\xe6\x9d\x8e\xf0\x9f\x98\x80",
                                                 "\"",
                                                 "x\\"};
        TempFolder folder;
        const std::string byQt = folder.File("qt.ini"), byCore = folder.File("core.ini");
        IniFile core;
        {
            QSettings qt(QString::fromStdString(byQt), QSettings::IniFormat);
            for (std::size_t i = 0; i < values.size(); ++i) {
                const std::string key = "K" + std::to_string(i);
                qt.setValue(QString::fromStdString("Setting/" + key),
                            QString::fromStdString(values[i]));
                core.SetValue("Setting", key, values[i]);
            }
        }
        QVERIFY(core.Save(byCore));
        QCOMPARE(ReadFile(byCore), ReadFile(byQt));
        IniFile read;
        QVERIFY(read.Load(byQt));
        QSettings qt(QString::fromStdString(byCore), QSettings::IniFormat);
        for (std::size_t i = 0; i < values.size(); ++i) {
            const std::string key = "K" + std::to_string(i);
            QCOMPARE(read.Value("Setting", key).value_or("(none)"), values[i]);
            QCOMPARE(qt.value(QString::fromStdString("Setting/" + key)).toString().toStdString(),
                     values[i]);
        }
    }
};

QTEST_GUILESS_MAIN(tst_TextCompatibility)
#include "tst_TextCompatibility.moc"
