// The shipped language files against the text tables: every key of every
// table in both files and no other, the StringNN messages of a window
// numbered without gaps, each key found on its own line, UTF-8 and
// Traditional Chinese; and each control text comes from its key.
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSet>
#include <QStringConverter>
#include <QTabBar>
#include <QTest>
#include <QTreeWidget>
#include <map>

#include "AboutTexts.h"
#include "AudioTexts.h"
#include "ChooserTexts.h"
#include "CliTexts.h"
#include "CopyTexts.h"
#include "CueSheetTexts.h"
#include "EngineMessages.h"
#include "EraseTexts.h"
#include "InfoWindowTexts.h"
#include "LanguageFile.h"
#include "MainTexts.h"
#include "MainWindowTestKit.h"
#include "MessageBoxTexts.h"
#include "SaveIsoTexts.h"
#include "SessionTexts.h"
#include "TaskWindows.h"
#include "TransportSlot.h"
#include "WindowTestSupport.h"
#include "WriteIsoTexts.h"
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

// Every row of every text table of the program.
struct TableRow {
    QString key;
    QString builtIn;
};
template <typename Id>
void AddRows(std::vector<TableRow>& rows) {
    for (const TextRow<Id>& row : TextRows(Id{}))
        rows.push_back({QString::fromUtf8(row.key.data(), qsizetype(row.key.size())),
                        QString::fromUtf8(row.builtIn.data(), qsizetype(row.builtIn.size()))});
}
std::vector<TableRow> EveryTableRow() {
    std::vector<TableRow> rows;
    AddRows<MainText>(rows);
    AddRows<WriteIsoText>(rows);
    AddRows<SaveIsoText>(rows);
    AddRows<CopyText>(rows);
    AddRows<AudioText>(rows);
    AddRows<EraseText>(rows);
    AddRows<EngineMessage>(rows);
    AddRows<MessageBoxText>(rows);
    AddRows<InfoWindowText>(rows);
    AddRows<ChooserText>(rows);
    AddRows<AboutText>(rows);
    AddRows<SessionText>(rows);
    AddRows<CliText>(rows);
    AddRows<CueSheetText>(rows);
    return rows;
}

// Keys of texts that windows show in message boxes or while they work, not
// as a control's text when they open, and maple-cli's lines.
bool IsMessageKey(const QString& key) {
    static const QRegularExpression message(QStringLiteral(
        "^(\\w+\\.String\\d+|Engines\\.\\w+|MsgBox\\.\\w+|Sessions\\.\\w+|maple-cli\\.\\w+)$"));
    return message.match(key).hasMatch();
}

QSet<QString> KeysOf(const std::vector<LanguageLine>& lines) {
    QSet<QString> keys;
    for (const LanguageLine& line : lines) keys.insert(line.key);
    return keys;
}

// Every text of a window's controls by its place ("frmErase#12:cmdErase.ToolTipText",
// spelled as the language files name it); places are the same in every run.
void CollectTexts(const QWidget* window, std::map<QString, QString>& texts) {
    QList<QObject*> objects = window->findChildren<QObject*>();
    objects.prepend(const_cast<QWidget*>(window));
    for (int i = 0; i < objects.size(); ++i) {
        const QObject* object = objects[i];
        const QString place = QStringLiteral("%1#%2:%3")
                                  .arg(window->metaObject()->className())
                                  .arg(i)
                                  .arg(object->objectName());
        if (qobject_cast<const QLineEdit*>(object) != nullptr) continue;  // what the user types
        for (const char* property : {"text", "title"})
            if (const QVariant text = object->property(property); text.isValid())
                texts[place] = text.toString();
        if (object->isWidgetType())  // an action's tip is its text
            texts[place + ".ToolTipText"] = object->property("toolTip").toString();
        if (object == window)
            texts[QStringLiteral("%1#0:Caption").arg(window->metaObject()->className())] =
                window->windowTitle();
        if (auto* list = qobject_cast<const QTreeWidget*>(object))
            for (int column = 0; column < list->columnCount(); ++column)
                texts[place + QStringLiteral(".ColumnHeaders(%1)").arg(column + 1)] =
                    list->headerItem()->text(column);
        if (auto* tabs = qobject_cast<const QTabBar*>(object))
            for (int tab = 0; tab < tabs->count(); ++tab)
                texts[place + QStringLiteral(".Tabs(%1)").arg(tab + 1)] = tabs->tabText(tab);
    }
}

// Whether `place` is where the text of `key` belongs: the key names the
// control and its kind of text (letter case aside; "sbar." is the status bar).
bool KeyNamesPlace(QString key, const QString& place) {
    key = key.section(QLatin1Char('.'), 1).remove(QStringLiteral("sbar."));
    return place.section(QLatin1Char(':'), 1).compare(key, Qt::CaseInsensitive) == 0;
}

// Opens every window of the program, task windows included, with the
// language file in use; returns the texts they show.
struct OpenedWindows {
    std::map<QString, QString> texts;
};
OpenedWindows OpenEveryWindow() {
    OpenedWindows opened;
    MessageBoxRecorder boxes;
    {
        frmMain main(MakerOf(InquiryTransport({"/dev/sr0"})));
        if (!main.Load()) qFatal("the main window did not load");
        CollectTexts(&main, opened.texts);
        {
            frmDiscInfo discInfo;
            frmErase erase;
            frmAbout about;
            frmCDorDVD chooser;
            for (const QWidget* window :
                 {(QWidget*)&discInfo, (QWidget*)&erase, (QWidget*)&about, (QWidget*)&chooser})
                CollectTexts(window, opened.texts);
        }
        for (int task = 0; task < 4; ++task) (void)OpenTaskWindow(task, 0);
        for (const QWidget* window : QApplication::topLevelWidgets())
            if (window->isVisible() && window != &main) CollectTexts(window, opened.texts);
        CloseAllWindows();
    }
    SetTransport(nullptr);
    return opened;
}

const QStringList kLanguages{"English", "Chinese Tradition"};
}  // namespace

class LanguageFilesTest : public QObject {
    Q_OBJECT
  private slots:
    void init() { m_folders = std::make_unique<WindowTestFolders>(); }
    void cleanup() { m_folders.reset(); }

    // Both files hold every key of the tables and no other (each key in one
    // table), each with a value that its own line gives (the lookup takes
    // the first line holding key + "=" anywhere, so no line may shadow
    // another key or repeat it); UTF-8 with line feeds.
    void theFilesHoldTheTablesKeysEachOnItsOwnLine() {
        QSet<QString> keys;
        for (const TableRow& row : EveryTableRow()) {
            QVERIFY2(!keys.contains(row.key), qPrintable(row.key));
            keys.insert(row.key);
            // A control's text may be empty when the window sets it once it is open.
            QVERIFY2(!row.builtIn.isEmpty() || !IsMessageKey(row.key), qPrintable(row.key));
        }
        const QRegularExpression message(QStringLiteral("^(\\w+)\\.String(\\d+)$"));
        for (const QString& language : kLanguages) {
            const std::string path = ShippedLanguageFile(language.toStdString());
            QByteArray raw;
            const std::vector<LanguageLine> lines = ReadLines(path, &raw);
            QVERIFY(!raw.contains('\r') && raw.endsWith('\n'));
            auto decoder = QStringDecoder(QStringDecoder::Utf8);
            const QString text = decoder(raw);
            QVERIFY(!decoder.hasError() && !text.contains(QChar::ReplacementCharacter));
            QCOMPARE(KeysOf(lines) - keys, QSet<QString>());
            QCOMPARE(keys - KeysOf(lines), QSet<QString>());
            std::map<QString, QSet<int>> numbers;  // the StringNN messages of each window
            for (const LanguageLine& line : lines) {
                QVERIFY2(!line.value.isEmpty(), qPrintable(line.key));
                if (const auto match = message.match(line.key); match.hasMatch())
                    numbers[match.captured(1)].insert(match.captured(2).toInt());
                QCOMPARE(QString::fromStdString(ReadKeyValue(path, line.key.toStdString())),
                         line.value);
            }
            for (const auto& [window, used] : numbers)  // 1 to the highest, no gaps
                QVERIFY2(!used.contains(0) && used.size() == *std::ranges::max_element(used),
                         qPrintable(window));
        }
    }

    // Every other key of the tables is given a text of its own, the rest are
    // left out (then the other half): each given control text reaches its
    // control, and every control whose key is left out keeps its built-in text.
    void eachTextReachesItsControlAndMissingKeysKeepTheBuiltInText_data() {
        QTest::addColumn<int>("first");
        QTest::newRow("even keys") << 0;
        QTest::newRow("odd keys") << 1;
    }
    void eachTextReachesItsControlAndMissingKeysKeepTheBuiltInText() {
        QFETCH(int, first);
        const OpenedWindows builtIn = OpenEveryWindow();
        QStringList keys;
        for (const TableRow& row : EveryTableRow()) keys << row.key;
        keys.sort();
        QString file;
        QStringList given;
        for (int i = first; i < keys.size(); i += 2) {
            given << QStringLiteral("<%1>").arg(keys[i]);
            file += keys[i] + QLatin1Char('=') + given.back() + QLatin1Char('\n');
        }
        WriteFile(m_folders->Folder().File("marked.lng"), file.toStdString());
        SetLanguageFilePath(m_folders->Folder().File("marked.lng"));
        const OpenedWindows marked = OpenEveryWindow();
        QCOMPARE(marked.texts.size(), builtIn.texts.size());
        // Messages are shown in boxes or while a window works; a few controls
        // show one of their window's messages once it has opened.
        const auto isMessage = [](const QString& text) {
            return IsMessageKey(text.mid(1, text.size() - 2));
        };
        const QStringList replaced{
            "<frmSaveISO.LblFileSysType>",       "<frmSaveISO.LblFileSysInfo>",
            "<frmSaveISO2.sbar.Panels(1)>",      "<frmSaveISO2.cmdNext.ToolTipText>",
            "<frmWriteISO.cmdBack.ToolTipText>", "<frmWriteISO.sbar.Panels(1)>"};
        QSet<QString> shown;
        for (const auto& [place, text] : marked.texts) {
            const QString& before = builtIn.texts.at(place);
            if (text == before) continue;
            QVERIFY2(given.contains(text), qPrintable(place + ": " + text));
            if (isMessage(text)) continue;
            QVERIFY2(KeyNamesPlace(text.mid(1, text.size() - 2), place),
                     qPrintable(place + ": " + text));
            QVERIFY2(!before.isEmpty(), qPrintable(place + " has no built-in text"));
            shown.insert(text);
        }
        for (const QString& text : given)
            QVERIFY2(shown.contains(text) || isMessage(text) || replaced.contains(text),
                     qPrintable(text));
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
