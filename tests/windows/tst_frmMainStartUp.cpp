// Start-up of the main window: language file, instance lock, transport,
// "DefaultDrive", the drive list, the remembered place and the style pictures.
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "DriveBusy.h"
#include "InstanceLock.h"
#include "MainWindowTestKit.h"
#include "MouseLabel.h"
#include "Pictures.h"
#include "SettingsStore.h"
#include "TransportSlot.h"
#include "WindowTestSupport.h"
#include "frmCDorDVD.h"
#include "frmMain.h"

class StartUpTest : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        m_folders = std::make_unique<WindowTestFolders>();
        m_boxes = std::make_unique<MessageBoxRecorder>();
    }
    void cleanup() {
        m_boxes.reset();
        m_folders.reset();
        SetTransport(nullptr);
    }

    void loadsWithoutQuestionsAtItsDesignSize() {
        frmMain window(MakerOf(InquiryTransport({"/dev/sr0"})));
        QVERIFY(window.Load());
        QVERIFY(m_boxes->shown.empty());
        QCOMPARE(window.HoveredTask(), Task::kNone);
        QCOMPARE(window.StartedTask(), Task::kNone);
        QCOMPARE(window.size(), QSize(10005 / 15 - 8, 7500 / 15 - 30));
    }

    void defaultDriveSelectsFirstOrLast_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("last");
        QTest::newRow("absent") << QString() << false;
        QTest::newRow("0") << QStringLiteral("0") << false;
        QTest::newRow("1") << QStringLiteral("1") << true;
        QTest::newRow("other number") << QStringLiteral("-2") << true;
    }
    void defaultDriveSelectsFirstOrLast() {
        QFETCH(QString, stored);
        QFETCH(bool, last);
        if (!stored.isNull()) SaveProgramSetting("DefaultDrive", stored.toStdString());
        frmMain window(MakerOf(InquiryTransport({"/dev/sr0", "/dev/sr1", "/dev/sr2"})));
        QVERIFY(window.Load());
        QCOMPARE(Control<QComboBox>(&window, "CboDrv")->currentIndex(), last ? 2 : 0);
        QCOMPARE(window.CurrentDrive(), last ? std::string("/dev/sr2") : std::string("/dev/sr0"));
        QCOMPARE(Control<QAction>(&window, "meuSelectLastDrive")->isChecked(), last);
        QCOMPARE(Control<QAction>(&window, "meuSelectFirstDrive")->isChecked(), !last);
    }

    void driveFailingInquiryKeepsTableIndexes() {
        SaveProgramSetting("DefaultDrive", "1");
        frmMain window(
            MakerOf(InquiryTransport({"/dev/sr0", "/dev/sr1", "/dev/sr2"}, {"/dev/sr1"})));
        QVERIFY(window.Load());
        QVERIFY(m_boxes->shown.empty());
        auto* list = Control<QComboBox>(&window, "CboDrv");
        QCOMPARE(list->count(), 2);
        QCOMPARE(list->itemText(0), QStringLiteral("/dev/sr0 HA:1 ID:0 ") + kTestInquiryText);
        QCOMPARE(list->itemData(0).toInt(), 1);
        QCOMPARE(list->itemData(1).toInt(), 3);
        QCOMPARE(window.CurrentDrive(), std::string("/dev/sr2"));
    }

    void noDrivesDisablesTheDriveMenus_data() {
        QTest::addColumn<QStringList>("drives");
        QTest::newRow("none in the table") << QStringList();
        QTest::newRow("none answers") << QStringList{"/dev/sr0", "/dev/sr1"};
    }
    void noDrivesDisablesTheDriveMenus() {
        QFETCH(QStringList, drives);
        std::vector<std::string> ids;
        for (const QString& drive : drives) ids.push_back(drive.toStdString());
        frmMain window(MakerOf(InquiryTransport(ids, ids)));
        QVERIFY(window.Load());
        QCOMPARE(m_boxes->shown.size(), std::size_t(1));
        QCOMPARE(m_boxes->shown[0].text, QString::fromUtf8("没有找到可用的光碟机！"));
        QCOMPARE(m_boxes->shown[0].title, QString::fromUtf8("提示"));
        QCOMPARE(m_boxes->shown[0].icon, MessageIcon::Exclamation);
        for (const char* name : {"meuDiscInfo", "meuEraseDisc", "meuEject", "meuLoadTray"})
            QVERIFY2(!Control<QAction>(&window, name)->isEnabled(), name);
        QVERIFY(Control<QAction>(&window, "meuAbout")->isEnabled());
        QVERIFY(window.DriveListEmpty());
        QCOMPARE(window.CurrentDrive(), std::string());
    }

    void noTransportEndsTheProgram() {
        frmMain window([] {
            TransportChoice none;
            none.problem = "/dev/sr0: permission denied";
            return none;
        });
        QSignalSpy ended(&window, &frmMain::endProgram);
        QVERIFY(!window.Load());
        QCOMPARE(m_boxes->shown.size(), std::size_t(1));
        QVERIFY(m_boxes->shown[0].text.startsWith(QString::fromUtf8("SCSI设备界面初始化失败!")));
        QVERIFY(m_boxes->shown[0].text.contains(QStringLiteral("permission denied")));
        QCOMPARE(m_boxes->shown[0].title, QString::fromUtf8("错误"));
        QCOMPARE(m_boxes->shown[0].icon, MessageIcon::Exclamation);
        QCOMPARE(ended.count(), 1);
        QVERIFY(Transport() == nullptr);
    }

    void oneInstanceAtATimeAndACrashedRunsLockIsTakenOver() {
        // A lock file whose owner process no longer exists, on this machine as
        // QLockFile names it.
#ifdef Q_OS_WIN
        const QString host = qEnvironmentVariable("COMPUTERNAME");
#else
        const QString host = QSysInfo::machineHostName();
#endif
        WriteFile(InstanceLock::LockPath().toStdString(),
                  "2147480000\nmaple-writer\n" + host.toStdString() + "\n");
        {
            frmMain first(MakerOf(InquiryTransport({"/dev/sr0"})));
            QVERIFY(first.Load());
            QVERIFY(m_boxes->shown.empty());
            bool transportAsked = false;
            frmMain second([&transportAsked] {
                transportAsked = true;
                return TransportChoice{};
            });
            QVERIFY(!second.Load());
            QVERIFY(!transportAsked);
            QCOMPARE(m_boxes->shown.size(), std::size_t(1));
            QCOMPARE(m_boxes->shown[0].text, QString::fromUtf8("本程式已运行！"));
            QCOMPARE(m_boxes->shown[0].title, QString::fromUtf8("提示"));
        }
        // The lock goes with the first instance.
        frmMain third(MakerOf(InquiryTransport({"/dev/sr0"})));
        QVERIFY(third.Load());
    }

    void withoutARuntimeFolderTheLockIsTheUsersOwn() {
        const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
        qunsetenv("XDG_RUNTIME_DIR");
        const QString path = InstanceLock::LockPath();
        qputenv("XDG_RUNTIME_DIR", runtime);
        // Not a folder every user may write to, such as /tmp; on Windows one in
        // the user's profile.
#ifdef Q_OS_WIN
        QVERIFY(QDir::fromNativeSeparators(path).startsWith(
            QDir::fromNativeSeparators(qEnvironmentVariable("USERPROFILE")), Qt::CaseInsensitive));
#else
        QVERIFY(!(QFileInfo(QFileInfo(path).absolutePath()).permissions() & QFile::WriteOther));
#endif
    }

    void closingEndsTheProgramUnlessTheDriveIsBusyAndKeepsThePlace() {
        {
            frmMain window(MakerOf(InquiryTransport({"/dev/sr0"})));
            QVERIFY(window.Load());
            window.show();
            window.move(120, 90);
            QSignalSpy ended(&window, &frmMain::endProgram);
            {
                const DriveBusyScope busy("/dev/sr0");
                QVERIFY(!window.close());
                QVERIFY(window.isVisible());
                QCOMPARE(ended.count(), 0);
            }
            QTest::mouseClick(Control<QPushButton>(&window, "cmdExit"), Qt::LeftButton);
            QCOMPARE(ended.count(), 1);
            QVERIFY(!window.isVisible());
        }
        // The next start opens there again, but never off the screens.
        const auto startAgain = [] {
            frmMain next(MakerOf(InquiryTransport({"/dev/sr0"})));
            return next.Load() ? next.pos() : QPoint(-1, -1);
        };
        QCOMPARE(startAgain(), QPoint(120, 90));
        SaveProgramSetting("MainLeft", "90000");
        const QPoint onScreen = startAgain();
        QVERIFY(onScreen.x() >= 0 && onScreen.x() < 6000);
    }

    // The main window and the chooser take the style's pictures that exist,
    // and only when the style is on.
    void stylePicturesReplaceOnlyThoseThatExistWhenTheStyleIsOn_data() {
        QTest::addColumn<bool>("on");
        QTest::newRow("on") << true;
        QTest::newRow("off") << false;
    }
    void stylePicturesReplaceOnlyThoseThatExistWhenTheStyleIsOn() {
        QFETCH(bool, on);
        WriteFile(m_folders->Data() + "/maple-writer.INI",
                  on ? "; options\nstyle=1\n" : "style=0\n");
        std::filesystem::create_directories(m_folders->Data() + "/style/Maple");
        QImage red(32, 32, QImage::Format_ARGB32);
        red.fill(Qt::red);
        for (const char* file : {"Disc_Data.ico", "Button_Exit.bmp", "Group_CD.ico"})
            QVERIFY(red.save(QString::fromStdString(m_folders->Data() + "/style/Maple/") + file));
        const auto isRed = [](const QImage& image) {
            return image.pixelColor(image.width() / 2, image.height() / 2) == QColor(Qt::red);
        };
        frmMain window(MakerOf(InquiryTransport({"/dev/sr0"})));
        QVERIFY(window.Load());
        QCOMPARE(isRed(Control<MouseLabel>(&window, "Picture1(0)")->pixmap().toImage()), on);
        QCOMPARE(isRed(Control<QPushButton>(&window, "cmdExit")->icon().pixmap(16).toImage()), on);
        frmCDorDVD chooser;
        QCOMPARE(isRed(Control<MouseLabel>(&chooser, "Picture1(0)")->pixmap().toImage()), on);
        QCOMPARE(Control<MouseLabel>(&window, "Picture1(1)")->pixmap().toImage(),
                 Pictures::Load(QStringLiteral("task_audio"), {48, 48}).toImage());
        // The large task pictures come from the style's own set.
        MoveMouseOver(Control<MouseLabel>(&window, "Picture1(1)"));
        const QString large =
            on ? QStringLiteral("maple_task_audio") : QStringLiteral("task_audio");
        QCOMPARE(Control<QLabel>(&window, "ImgDiscType")->pixmap().toImage(),
                 Pictures::Load(large, {128, 128}).toImage());
    }

  private:
    std::unique_ptr<WindowTestFolders> m_folders;
    std::unique_ptr<MessageBoxRecorder> m_boxes;
};

QTEST_MAIN(StartUpTest)
#include "tst_frmMainStartUp.moc"
