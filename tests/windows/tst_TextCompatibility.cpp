// The core's own text rules against Qt, which the windows use: names
// compared ignoring case and UTF-8 decoding must agree with Qt. (The
// settings files are compared with a file Qt wrote in SettingsStoreTest.)
#include <QList>
#include <QTest>
#include <random>

#include "CaseFolding.h"
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
};

QTEST_GUILESS_MAIN(tst_TextCompatibility)
#include "tst_TextCompatibility.moc"
