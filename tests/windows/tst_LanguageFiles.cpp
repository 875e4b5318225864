// The shipped language files: the same keys in both, every key the windows
// look up present, the StringNN messages of a window numbered without gaps,
// each key found on its own line, UTF-8 and Traditional Chinese.
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QStringConverter>
#include <QTest>
#include <map>

#include "LanguageFile.h"
#include "MainWindowTestKit.h"
#include "TaskWindows.h"
#include "TransportSlot.h"
#include "WindowTestSupport.h"
#include "WindowTexts.h"
#include "frmAbout.h"
#include "frmCDorDVD.h"
#include "frmDiscInfo.h"
#include "frmErase.h"
#include "frmMain.h"

namespace {
struct LanguageLine {
    QString key;
    QString value;
};

// The key=value lines of a file, in order; comments, blank lines and
// section headers are skipped.
std::vector<LanguageLine> ReadLines(const std::string& path, QByteArray* raw = nullptr) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) qFatal("cannot read %s", path.c_str());
    const QByteArray bytes = file.readAll();
    if (raw != nullptr) *raw = bytes;
    std::vector<LanguageLine> lines;
    for (const QByteArray& line : bytes.split('\n')) {
        const qsizetype equals = line.indexOf('=');
        if (line.startsWith('#') || line.startsWith('[') || line.startsWith(';') || equals < 0)
            continue;
        lines.push_back(
            {QString::fromUtf8(line.left(equals)), QString::fromUtf8(line.mid(equals + 1))});
    }
    return lines;
}

QSet<QString> KeysOf(const std::vector<LanguageLine>& lines) {
    QSet<QString> keys;
    for (const LanguageLine& line : lines) keys.insert(line.key);
    return keys;
}

// Every key this program's windows look up when they open, task windows included.
QSet<QString> KeysReadByTheWindows() {
    QSet<QString> keys;
    SetLanguageKeyObserver(
        [&keys](const std::string& key) { keys.insert(QString::fromStdString(key)); });
    MessageBoxRecorder boxes;
    {
        frmMain main(MakerOf(InquiryTransport({"/dev/sr0"})));
        if (!main.Load()) qFatal("the main window did not load");
        {
            frmDiscInfo discInfo;
            frmErase erase;
            frmAbout about;
            frmCDorDVD chooser;
        }
        for (int task = 0; task < 4; ++task) (void)OpenTaskWindow(task, 0);
        CloseAllWindows();
    }
    SetLanguageKeyObserver({});
    SetTransport(nullptr);
    return keys;
}

const QStringList kLanguages{"English", "Chinese Tradition"};
}  // namespace

class LanguageFilesTest : public QObject {
    Q_OBJECT
  private slots:
    void init() { m_folders = std::make_unique<WindowTestFolders>(); }
    void cleanup() { m_folders.reset(); }

    void bothFilesHaveTheSameKeysOnceWithValues() {
        const auto english = ReadLines(ShippedLanguageFile("English"));
        const auto chinese = ReadLines(ShippedLanguageFile("Chinese Tradition"));
        const QSet<QString> inEnglish = KeysOf(english), inChinese = KeysOf(chinese);
        for (const QString& key : inEnglish - inChinese)
            QVERIFY2(false, qPrintable("missing in Chinese Tradition.lng: " + key));
        for (const QString& key : inChinese - inEnglish)
            QVERIFY2(false, qPrintable("missing in English.lng: " + key));
        QCOMPARE(std::size_t(inEnglish.size()), english.size());  // no key twice
        QCOMPARE(std::size_t(inChinese.size()), chinese.size());
        for (const auto* lines : {&english, &chinese})
            for (const LanguageLine& line : *lines)
                QVERIFY2(!line.value.isEmpty(), qPrintable(line.key));
    }

    void everyKeyTheWindowsReadIsShipped() {
        const QSet<QString> read = KeysReadByTheWindows();
        QVERIFY(!read.isEmpty());
        const QSet<QString> shipped = KeysOf(ReadLines(ShippedLanguageFile("English")));
        for (const QString& key : read) QVERIFY2(shipped.contains(key), qPrintable(key));
        // These windows read all of their keys when they open: none is left unused.
        for (const QString& key : shipped) {
            const QString window = key.section(QLatin1Char('.'), 0, 0);
            if (window == "frmMain" || window == "frmDiscInfo" || window == "frmAbout" ||
                window == "frmCDorDVD" || window == "frmSaveISO")
                QVERIFY2(read.contains(key), qPrintable(key));
        }
    }

    void messagesOfAWindowAreNumberedWithoutGaps() {
        const QRegularExpression message(QStringLiteral("^(\\w+)\\.String(\\d+)$"));
        std::map<QString, QSet<int>> numbers;
        for (const LanguageLine& line : ReadLines(ShippedLanguageFile("English"))) {
            const auto match = message.match(line.key);
            if (match.hasMatch()) numbers[match.captured(1)].insert(match.captured(2).toInt());
        }
        QVERIFY(!numbers.empty());
        for (const auto& [window, used] : numbers)
            for (int n = 1; n <= *std::max_element(used.begin(), used.end()); ++n)
                QVERIFY2(
                    used.contains(n),
                    qPrintable(window + QStringLiteral(".String%1").arg(n, 2, 10, QChar('0'))));
    }

    void eachKeyFindsItsOwnLineInAUtf8File() {
        // The lookup takes the first line containing key + "=" anywhere: no
        // line may shadow another key.
        for (const QString& language : kLanguages) {
            const std::string path = ShippedLanguageFile(language.toStdString());
            QByteArray raw;
            for (const LanguageLine& line : ReadLines(path, &raw))
                QCOMPARE(QString::fromStdString(ReadKeyValue(path, line.key.toStdString())),
                         line.value);
            QVERIFY(!raw.contains('\r'));
            QVERIFY(raw.endsWith('\n'));
            auto decoder = QStringDecoder(QStringDecoder::Utf8);
            const QString text = decoder(raw);
            QVERIFY(!decoder.hasError());
            QVERIFY(!text.contains(QChar::ReplacementCharacter));
        }
    }

    void traditionalChineseUsesTraditionalCharacters() {
        // Characters that exist only in the simplified script.
        const QString simplified =
            QString::fromUtf8("录据机关资盘览设择删时选项进乐复类态读写错误档执");
        for (const LanguageLine& line : ReadLines(ShippedLanguageFile("Chinese Tradition")))
            for (const QChar c : simplified)
                QVERIFY2(!line.value.contains(c), qPrintable(line.key + QStringLiteral(": ") + c));
    }

  private:
    std::unique_ptr<WindowTestFolders> m_folders;
};

QTEST_MAIN(LanguageFilesTest)
#include "tst_LanguageFiles.moc"
