// The shipped language files: all keys of every window, spelled as the
// windows look them up, each found on its own line.
#include <QFile>
#include <QMap>
#include <QSet>
#include <QStringConverter>
#include <QTest>

#include "LanguageFile.h"
#include "MainWindowTestKit.h"
#include "TransportSlot.h"
#include "WindowTestSupport.h"
#include "WindowTexts.h"
#include "frmAbout.h"
#include "frmCDorDVD.h"
#include "frmDiscInfo.h"
#include "frmErase.h"
#include "frmMain.h"
#include "frmWriteCDDA.h"

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

QString WindowOf(const QString& key) {
    return key.section(QLatin1Char('.'), 0, 0);
}

// Every key the windows of this program look up when they open.
QSet<QString> KeysReadByTheWindows() {
    QSet<QString> keys;
    SetLanguageKeyObserver(
        [&keys](const std::string& key) { keys.insert(QString::fromStdString(key)); });
    MessageBoxRecorder boxes;
    {
        frmMain main(MakerOf(InquiryTransport({"/dev/sr0"})));
        if (!main.Load()) qFatal("the main window did not load");
        frmDiscInfo discInfo;
        frmErase erase;
        frmAbout about;
        frmCDorDVD chooser;
        frmWriteCDDA audio;
    }
    SetLanguageKeyObserver({});
    SetTransport(nullptr);
    return keys;
}
}  // namespace

class LanguageFilesTest : public QObject {
    Q_OBJECT
  private slots:
    void init() { m_folders = std::make_unique<WindowTestFolders>(); }
    void cleanup() { m_folders.reset(); }

    void everyWindowHasAllItsKeys_data() {
        QTest::addColumn<QString>("language");
        QTest::newRow("English") << QStringLiteral("English");
        QTest::newRow("Chinese Tradition") << QStringLiteral("Chinese Tradition");
    }
    void everyWindowHasAllItsKeys() {
        QFETCH(QString, language);
        const auto lines = ReadLines(ShippedLanguageFile(language.toStdString()));
        QCOMPARE(lines.size(), std::size_t(282));
        QCOMPARE(KeysOf(lines).size(), 282);  // no key twice
        QMap<QString, int> perWindow;
        for (const LanguageLine& line : lines) {
            ++perWindow[WindowOf(line.key)];
            QVERIFY2(!line.value.isEmpty(), qPrintable(line.key));
        }
        const QMap<QString, int> expected{
            {"frmMain", 29},      {"frmWriteISO", 51}, {"frmSaveISO", 65}, {"frmSaveISO2", 39},
            {"frmWriteCDDA", 61}, {"frmErase", 17},    {"frmDiscInfo", 7}, {"frmCDorDVD", 2},
            {"frmAbout", 4},      {"Engines", 7}};
        QCOMPARE(perWindow, expected);
        // Keys whose spelling differs from their control's name.
        for (const char* key :
             {"frmMain.CmdAbout.ToolTipText", "frmWriteISO.cmdBurn.ToolTipText",
              "frmSaveISO.cmdnewPrj.ToolTipText", "frmSaveISO.CmdNext.ToolTipText",
              "frmWriteCDDA.cmdnewPrj.ToolTipText", "frmAbout.Caption",
              "frmSaveISO.lvwFiles.ColumnHeaders(3)", "frmSaveISO.tabstrip.Tabs(2)",
              "frmWriteISO.sbar.Panels(1)", "frmSaveISO2.sbar.Panels(1)"})
            QVERIFY2(KeysOf(lines).contains(QString::fromLatin1(key)), key);
    }

    void bothFilesHaveTheSameKeys() {
        QCOMPARE(KeysOf(ReadLines(ShippedLanguageFile("Chinese Tradition"))),
                 KeysOf(ReadLines(ShippedLanguageFile("English"))));
    }

    void eachKeyFindsItsOwnLine_data() { everyWindowHasAllItsKeys_data(); }
    void eachKeyFindsItsOwnLine() {
        // The lookup takes the first line containing key + "=" anywhere: no
        // line may shadow another key.
        QFETCH(QString, language);
        const std::string path = ShippedLanguageFile(language.toStdString());
        for (const LanguageLine& line : ReadLines(path))
            QCOMPARE(QString::fromStdString(ReadKeyValue(path, line.key.toStdString())),
                     line.value);
    }

    void filesAreUtf8WithLineFeeds_data() { everyWindowHasAllItsKeys_data(); }
    void filesAreUtf8WithLineFeeds() {
        QFETCH(QString, language);
        QByteArray raw;
        ReadLines(ShippedLanguageFile(language.toStdString()), &raw);
        QVERIFY(!raw.contains('\r'));
        QVERIFY(raw.endsWith('\n'));
        auto decoder = QStringDecoder(QStringDecoder::Utf8);
        const QString text = decoder(raw);
        QVERIFY(!decoder.hasError());
        QVERIFY(!text.contains(QChar::ReplacementCharacter));
    }

    void traditionalChineseUsesTraditionalCharacters() {
        // Characters that exist only in the simplified script.
        const QString simplified =
            QString::fromUtf8("录据机关资盘览设择删时选项进乐复类态读写错误档执");
        for (const LanguageLine& line : ReadLines(ShippedLanguageFile("Chinese Tradition")))
            for (const QChar c : simplified)
                QVERIFY2(!line.value.contains(c), qPrintable(line.key + QStringLiteral(": ") + c));
    }

    void everyKeyTheWindowsReadIsShipped() {
        const QSet<QString> read = KeysReadByTheWindows();
        const QSet<QString> shipped = KeysOf(ReadLines(ShippedLanguageFile("English")));
        QVERIFY(!read.isEmpty());
        for (const QString& key : read) QVERIFY2(shipped.contains(key), qPrintable(key));
        // These windows read all of their keys when they open.
        for (const QString& key : shipped) {
            const QString window = WindowOf(key);
            const bool opened = window == "frmMain" || window == "frmDiscInfo" ||
                                window == "frmAbout" || window == "frmCDorDVD";
            if (opened) QVERIFY2(read.contains(key), qPrintable(key));
        }
    }

  private:
    std::unique_ptr<WindowTestFolders> m_folders;
};

QTEST_MAIN(LanguageFilesTest)
#include "tst_LanguageFiles.moc"
