// The main window at work: hovering the task pictures, the chooser, starting
// tasks, the drive, tray and help menus.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>

#include "DesktopOpener.h"
#include "EngineRunner.h"
#include "MainWindowTestKit.h"
#include "MouseLabel.h"
#include "SettingsStore.h"
#include "TransportSlot.h"
#include "Twips.h"
#include "WindowTestSupport.h"
#include "frmAbout.h"
#include "frmCDorDVD.h"
#include "frmMain.h"

namespace {
const QColor kGreen(0, 128, 0);
const QColor kWhite(255, 255, 255);

QColor BackOf(const QWidget* parent, const char* name) {
    return Control<MouseLabel>(parent, name)->BackColor();
}
}  // namespace

class TasksTest : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        m_folders = std::make_unique<WindowTestFolders>();
        m_boxes = std::make_unique<MessageBoxRecorder>();
        auto transport = InquiryTransport({"/dev/sr0", "/dev/sr1"});
        m_transport = transport.get();
        m_window = std::make_unique<frmMain>(MakerOf(std::move(transport)));
        QVERIFY(m_window->Load());
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        m_transport->ClearCommands();
    }
    void cleanup() {
        m_window.reset();
        m_boxes.reset();
        m_folders.reset();
        SetDesktopOpenHandler({});
        SetTransport(nullptr);
    }

    void hoveringTaskZeroOpensTheChooserBesideIt() {
        frmMain& window = *m_window;
        auto* picture0 = Control<MouseLabel>(&window, "Picture1(0)");
        MoveMouseOver(picture0);
        QCOMPARE(window.HoveredTask(), std::uint8_t(0));
        QCOMPARE(BackOf(&window, "Picture1(0)"), kGreen);
        QCOMPARE(BackOf(&window, "Picture2"), kGreen);
        QCOMPARE(Control<QLabel>(&window, "lblDiscType")->text(), QString::fromUtf8("数据光盘"));
        QVERIFY(!Control<QLabel>(&window, "ImgDiscType")->pixmap().isNull());

        // The chooser reads its place from the settings (tst_SmallWindows).
        const QPoint expected =
            Twips::FromPixels(picture0->mapToGlobal(QPoint(picture0->width(), 0)) +
                              QPoint(Control<MouseLabel>(&window, "Picture2")->width(), 0));
        QVERIFY(window.Chooser() != nullptr && window.Chooser()->isVisible());
        QCOMPARE(window.Chooser()->pos(), Twips::ToPixels(expected));

        // Another task closes it and gives picture 0 its white back.
        MoveMouseOver(Control<MouseLabel>(&window, "Picture1(2)"));
        QCOMPARE(window.HoveredTask(), std::uint8_t(2));
        QCOMPARE(BackOf(&window, "Picture1(0)"), kWhite);
        QCOMPARE(BackOf(&window, "Picture2"), kWhite);
        QCOMPARE(BackOf(&window, "Picture1(2)"), kGreen);
        QCOMPARE(
            Control<QLabel>(&window, "lblInfo")->text(),
            QString::fromUtf8(
                "将.ISO文件储存的文件刻录到光盘上(你可以使用本工具或Nero以及其它工具创建.ISO档)"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(window.Chooser() == nullptr);

        // Moving within picture 0 keeps one chooser; Label2 closes it, the
        // hovered task stays.
        MoveMouseOver(picture0, {2, 2});
        frmCDorDVD* chooser = window.Chooser();
        MoveMouseOver(picture0, {10, 12});
        QVERIFY(chooser != nullptr && window.Chooser() == chooser);
        QCOMPARE(window.findChildren<frmCDorDVD*>().size(), 1);
        MoveMouseOver(Control<MouseLabel>(&window, "Label2"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(window.Chooser() == nullptr);
        QCOMPARE(window.HoveredTask(), std::uint8_t(0));
    }

    void labelClickStartsATaskWithoutChangingTheHoveredOne() {
        frmMain& window = *m_window;
        MoveMouseOver(Control<MouseLabel>(&window, "Picture1(1)"));
        QTest::mouseClick(Control<MouseLabel>(&window, "LblText(2)"), Qt::LeftButton);
        QCOMPARE(window.StartedTask(), 2);
        QCOMPARE(window.HoveredTask(), std::uint8_t(1));
        QVERIFY(!window.isVisible());  // the task window opened instead
    }

    void dataDiscStartsFromTheChooser() {
        frmMain& window = *m_window;
        QTest::mouseClick(Control<MouseLabel>(&window, "LblText(0)"), Qt::LeftButton);
        QVERIFY(window.Chooser() != nullptr && window.Chooser()->isVisible());
        QCOMPARE(window.StartedTask(), Task::kNone);
        QCOMPARE(window.HoveredTask(), Task::kNone);
        QTest::mouseClick(Control<MouseLabel>(window.Chooser(), "LblText(1)"), Qt::LeftButton);
        QCOMPARE(window.StartedTask(), 0);
        QVERIFY(!window.isVisible());
    }

    void driveSelectionLinkAndPreferenceMenu() {
        frmMain& window = *m_window;
        auto* link = Control<MouseLabel>(&window, "LblDrvSel");
        auto* menu = Control<QMenu>(&window, "meuDrvSel");
        MoveMouseOver(&window, {5, 300});
        QCOMPARE(link->text(), QStringLiteral(">>"));  // shown without the mouse on it
        QTest::mouseClick(link, Qt::LeftButton);
        QVERIFY(menu->isVisible());
        menu->hide();

        Control<QAction>(&window, "meuSelectLastDrive")->trigger();
        QVERIFY(Control<QAction>(&window, "meuSelectLastDrive")->isChecked());
        QVERIFY(!Control<QAction>(&window, "meuSelectFirstDrive")->isChecked());
        QCOMPARE(GetProgramSetting("DefaultDrive"), std::string("1"));
        QCOMPARE(Control<QComboBox>(&window, "CboDrv")->currentIndex(), 0);
        Control<QAction>(&window, "meuSelectFirstDrive")->trigger();
        QCOMPARE(GetProgramSetting("DefaultDrive"), std::string("0"));
    }

    void theKeyboardReachesTheDriveLinkAndTheTasks() {
        frmMain& window = *m_window;
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        Control<QComboBox>(&window, "CboDrv")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        auto* link = Control<MouseLabel>(&window, "LblDrvSel");
        QCOMPARE(QApplication::focusWidget(), link);
        QCOMPARE(link->text(), QStringLiteral(">>"));
        QCOMPARE(link->accessibleName(), QString::fromUtf8("选择启动时默认使用的刻录机"));
        QStringList reached;
        for (int i = 0; i < 4; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            reached << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(reached,
                 QStringList({"Picture1(0)", "Picture1(1)", "Picture1(2)", "Picture1(3)"}));
        QCOMPARE(window.HoveredTask(), std::uint8_t(3));  // the focus points at it
        auto* record = Control<MouseLabel>(&window, "Picture1(2)");
        QCOMPARE(record->accessibleName(), Control<QLabel>(&window, "LblText(2)")->text());
        QTest::keyClick(record, Qt::Key_Return);
        QCOMPARE(window.StartedTask(), 2);
        QVERIFY(!window.isVisible());
    }

    void trayMenuMovesTheCurrentDrivesTray() {
        frmMain& window = *m_window;
        Control<QComboBox>(&window, "CboDrv")->setCurrentIndex(1);
        RightPress(Control<MouseLabel>(&window, "lblInfo"));
        auto* tray = Control<QMenu>(&window, "meutray");
        QVERIFY(tray->isVisible());
        tray->hide();
        auto* runner = window.findChild<EngineRunner*>();
        QVERIFY(runner != nullptr);
        for (const char* item : {"meuEject", "meuLoadTray"}) {
            QSignalSpy done(runner, &EngineRunner::finished);
            Control<QAction>(&window, item)->trigger();
            QVERIFY(done.wait(5000));
        }
        const auto& commands = m_transport->Commands();
        QCOMPARE(commands.size(), std::size_t(2));
        QCOMPARE(commands[0].drive, std::string("/dev/sr1"));
        QCOMPARE(HexBytes(commands[0].cdb), std::string("1B 00 00 00 02 00"));
        QCOMPARE(HexBytes(commands[1].cdb), std::string("1B 00 00 00 03 00"));
        QVERIFY(m_boxes->shown.empty());  // results are not shown
    }

    void toolsAndHelpMenusOpenTheManualWebPageMailAndAbout() {
        std::vector<QUrl> opened;
        SetDesktopOpenHandler([&opened](const QUrl& url) { opened.push_back(url); });
        frmMain& window = *m_window;
        QTest::mouseClick(Control<QPushButton>(&window, "CmdTools"), Qt::LeftButton);
        QVERIFY(Control<QMenu>(&window, "meutools")->isVisible());
        Control<QMenu>(&window, "meutools")->hide();
        QTest::mouseClick(Control<QPushButton>(&window, "cmdAbout"), Qt::LeftButton);
        QVERIFY(Control<QMenu>(&window, "meuHelp")->isVisible());
        Control<QMenu>(&window, "meuHelp")->hide();
        Control<QAction>(&window, "meuHelpFile")->trigger();
        QVERIFY(opened.empty());  // no manual, nothing happens
        const std::string manual = m_folders->Data() + "/User Manual.pdf";
        WriteFile(manual, "%PDF-1.4\n");
        Control<QAction>(&window, "meuHelpFile")->trigger();
        Control<QAction>(&window, "meuVisitMyWeb")->trigger();
        Control<QAction>(&window, "meuMailToMe")->trigger();
        QCOMPARE(opened.size(), std::size_t(3));
        QCOMPARE(opened[0], QUrl::fromLocalFile(QString::fromStdString(manual)));
        QCOMPARE(opened[1].scheme(), QStringLiteral("https"));
        QCOMPARE(opened[2].scheme(), QStringLiteral("mailto"));
        Control<QAction>(&window, "meuAbout")->trigger();
        QVERIFY(VisibleWindow<frmAbout>() != nullptr);
    }

  private:
    std::unique_ptr<WindowTestFolders> m_folders;
    std::unique_ptr<MessageBoxRecorder> m_boxes;
    std::unique_ptr<frmMain> m_window;
    RecordingTransport* m_transport = nullptr;
};

QTEST_MAIN(TasksTest)
#include "tst_frmMainTasks.moc"
