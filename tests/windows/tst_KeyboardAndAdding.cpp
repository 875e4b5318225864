// What a keyboard user and a user who does not drag meet: picture buttons
// that show their focus and take Enter, the Add buttons, menu items, Insert
// and paste of the data disc and audio windows (through the file dialog
// seam), and Qt's own texts in the language the program chose.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QDir>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>

#include "CddaWaveHeader.h"
#include "LanguageFile.h"
#include "ModFileDlg.h"
#include "TaskWindows.h"
#include "ToolkitTranslations.h"
#include "TrackListView.h"
#include "WindowTestRig.h"
#include "frmSaveISO.h"
#include "frmWriteCDDA.h"
#include "ucTreeView.h"

namespace {
// The dialogs the windows asked for, answered with `answer`.
struct DialogAnswers {
    std::vector<ModFileDlg::Request> asked;
    QString answer;
    DialogAnswers() {
        ModFileDlg::SetDialogHandler([this](const ModFileDlg::Request& request) {
            asked.push_back(request);
            return answer;
        });
    }
    ~DialogAnswers() { ModFileDlg::SetDialogHandler({}); }
};

void CopyFilesToClipboard(const QStringList& paths) {
    auto* data = new QMimeData();
    QList<QUrl> urls;
    for (const QString& path : paths) urls << QUrl::fromLocalFile(path);
    data->setUrls(urls);
    QGuiApplication::clipboard()->setMimeData(data);
}

int Rows(const QWidget* window) {
    return Control<QTreeWidget>(window, "lvwFiles")->topLevelItemCount();
}

// Waits until the data disc window has added what it was given.
bool Added(frmSaveISO* window, const std::function<void()>& add) {
    QSignalSpy finished(window, &frmSaveISO::workFinished);
    add();
    return finished.wait(10000);
}
}  // namespace

class KeyboardAndAddingTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        m_files = std::make_unique<TempFolder>();
        // A second of CD-quality silence each.
        const auto header = CddaWaveHeader(44 + 176400);
        for (const char* name : {"one.wav", "two.wav"})
            WriteFile(Path(name),
                      std::string(header.begin(), header.end()) + std::string(176400, '\0'));
    }
    void init() { m_rig = std::make_unique<WindowTestRig>(); }
    void cleanup() { m_rig.reset(); }

    // Every picture button is named for screen readers by its tip, shows a
    // frame while it holds the focus and is pressed by Enter as by Space.
    void pictureButtonsShowTheFocusAndTakeEnter() {
        frmWriteCDDA window;
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        int pictureButtons = 0;
        for (QPushButton* button : window.findChildren<QPushButton*>()) {
            if (button->icon().isNull()) continue;
            ++pictureButtons;
            QVERIFY2(!button->toolTip().isEmpty(), qPrintable(button->objectName()));
            QCOMPARE(button->accessibleName(), button->toolTip());
            QCOMPARE(button->focusPolicy(), Qt::StrongFocus);
        }
        QCOMPARE(pictureButtons, 7);

        auto* newProject = Control<QPushButton>(&window, "cmdNewPrj");
        Control<QWidget>(&window, "lvwFiles")->setFocus();
        const QImage unfocused = newProject->grab().toImage();
        newProject->setFocus();
        QTRY_VERIFY(newProject->hasFocus());
        QVERIFY(newProject->grab().toImage() != unfocused);

        QSignalSpy pressed(newProject, &QPushButton::clicked);
        QTest::keyClick(newProject, Qt::Key_Return);
        QTRY_COMPARE(pressed.count(), 1);
        QTest::keyClick(newProject, Qt::Key_Enter, Qt::KeypadModifier);
        QTest::keyClick(newProject, Qt::Key_Enter);
        QTRY_COMPARE(pressed.count(), 2);
        newProject->setEnabled(false);
        QTest::keyClick(newProject, Qt::Key_Return);
        QTest::qWait(0);
        QCOMPARE(pressed.count(), 2);
    }

    void audioTracksComeFromTheButtonTheMenuInsertAndPaste() {
        DialogAnswers dialogs;
        dialogs.answer = File("one.wav") + "\n" + File("two.wav");
        frmWriteCDDA window;
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::mouseClick(Control<QPushButton>(&window, "cmdAddFiles"), Qt::LeftButton);
        QCOMPARE(Rows(&window), 2);
        QCOMPARE(dialogs.asked.size(), std::size_t(1));
        const ModFileDlg::Request& request = dialogs.asked.front();
        QCOMPARE(request.choice, ModFileDlg::Request::Choice::Files);
        QVERIFY(!request.save);
        QCOMPARE(request.title, QString::fromUtf8("添加文件"));
        QCOMPARE(request.description, QString::fromUtf8("声音文件"));
        QVERIFY(request.pattern.contains(QStringLiteral("*.WAV")));

        Control<QAction>(&window, "meuFilesAdd")->trigger();
        QCOMPARE(Rows(&window), 4);
        auto* list = Control<TrackListView>(&window, "lvwFiles");
        list->setFocus();
        dialogs.answer.clear();  // cancelled
        QTest::keyClick(list, Qt::Key_Insert);
        QCOMPARE(dialogs.asked.size(), std::size_t(3));
        QCOMPARE(Rows(&window), 4);

        CopyFilesToClipboard({File("two.wav")});
        QTest::keyClick(list, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(Rows(&window), 5);
        QCOMPARE(list->topLevelItem(4)->text(0), QDir::fromNativeSeparators(File("two.wav")));
        QGuiApplication::clipboard()->setText(QStringLiteral("no files here"));
        QTest::keyClick(list, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(Rows(&window), 5);
        QVERIFY(m_rig->boxes.shown.empty());
    }

    void dataDiscFilesAndFoldersComeFromTheButtonsTheMenusInsertAndPaste() {
        DialogAnswers dialogs;
        WriteFile(Path("folder/inner.txt"), "inner");
        WriteFile(Path("loose.txt"), "loose");
        OpenTaskWindow(Task::kDataDisc, 0);
        frmSaveISO* window = VisibleWindow<frmSaveISO>();
        QVERIFY(window != nullptr);

        dialogs.answer = File("loose.txt") + "\n" + File("one.wav");
        QVERIFY(Added(window, [&] {
            QTest::mouseClick(Control<QPushButton>(window, "cmdAddFiles"), Qt::LeftButton);
        }));
        QCOMPARE(Rows(window), 2);
        QCOMPARE(dialogs.asked.back().choice, ModFileDlg::Request::Choice::Files);
        QCOMPARE(dialogs.asked.back().title, QString::fromUtf8("添加文件"));

        dialogs.answer = File("folder");
        QVERIFY(Added(window, [&] {
            QTest::mouseClick(Control<QPushButton>(window, "cmdAddFolder"), Qt::LeftButton);
        }));
        QCOMPARE(dialogs.asked.back().choice, ModFileDlg::Request::Choice::Folder);
        QCOMPARE(dialogs.asked.back().title, QString::fromUtf8("添加文件夹"));
        QVERIFY(Control<ucTreeView>(window, "tvwDirs")->GetKeyNode("\\folder\\") != nullptr);

        // The tree's menu offers the same items.
        auto* dirMenu = Control<QMenu>(window, "meuMenuDir");
        QVERIFY(dirMenu->actions().contains(Control<QAction>(window, "meuFolderAdd")));
        dialogs.answer = File("two.wav");
        QVERIFY(Added(window, [&] { Control<QAction>(window, "meuFilesAdd")->trigger(); }));
        QCOMPARE(Rows(window), 3);

        auto* list = Control<QTreeWidget>(window, "lvwFiles");
        list->setFocus();
        const std::size_t asked = dialogs.asked.size();
        dialogs.answer.clear();
        QTest::keyClick(list, Qt::Key_Insert);
        QCOMPARE(dialogs.asked.size(), asked + 1);

        WriteFile(Path("pasted.txt"), "pasted");
        CopyFilesToClipboard({File("pasted.txt")});
        QVERIFY(Added(window, [&] { QTest::keyClick(list, Qt::Key_V, Qt::ControlModifier); }));
        QCOMPARE(Rows(window), 4);
    }

    // Last: a translator stays installed for the rest of the run.
    void qtsOwnTextsFollowTheChosenLanguageNotTheSystems() {
        const char* lookIn = "Look in:";
        SetLanguageFilePath(ShippedLanguageFile("English"));
        QCOMPARE(ChosenLocaleName(), std::string("en_US"));
        QVERIFY(!ToolkitTranslations::Install());
        QCOMPARE(QLocale().name(), QStringLiteral("en_US"));
        QCOMPARE(QCoreApplication::translate("QFileDialog", lookIn), QString::fromLatin1(lookIn));

        SetLanguageFilePath({});  // built-in texts: Simplified Chinese, also under LC_ALL=C
        QCOMPARE(ChosenLocaleName(), std::string("zh_CN"));
        QVERIFY(ToolkitTranslations::Install());
        QCOMPARE(QLocale().name(), QStringLiteral("zh_CN"));
        QCOMPARE(QCoreApplication::translate("QFileDialog", lookIn),
                 QString::fromUtf8("查找范围："));
        const QDialogButtonBox buttons(QDialogButtonBox::Save | QDialogButtonBox::Cancel);
        QVERIFY(buttons.button(QDialogButtonBox::Save)->text().contains(QString::fromUtf8("保存")));
        SetLanguageFilePath(ShippedLanguageFile("Chinese Tradition"));
        QCOMPARE(ChosenLocaleName(), std::string("zh_TW"));
    }

  private:
    QString File(const char* name) const { return QString::fromStdString(m_files->File(name)); }
    std::string Path(const char* name) const { return m_files->File(name); }

    std::unique_ptr<TempFolder> m_files;
    std::unique_ptr<WindowTestRig> m_rig;
};

QTEST_MAIN(KeyboardAndAddingTest)
#include "tst_KeyboardAndAdding.moc"
