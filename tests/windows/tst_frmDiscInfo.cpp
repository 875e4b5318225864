// The disc information window on the virtual drive.
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "DriveBusy.h"
#include "LanguageFile.h"
#include "VirtualDriveFixture.h"
#include "WindowTestSupport.h"
#include "frmDiscInfo.h"

namespace {
constexpr std::uint8_t kReadDiscInformation = 0x51;
constexpr std::uint8_t kGetEventStatus = 0x4A;

QStringList Values(const frmDiscInfo& window) {
    QStringList values;
    for (const char* name : {"lblValueDiscType", "lblValueSessions", "LblValueTrackNum",
                             "lblValueDiscStatus", "lblValueLastSessionStatus"})
        values << Control<QLabel>(&window, name)->text();
    return values;
}

const QStringList kNotAvailable{"N/A", "N/A", "N/A", "N/A", "N/A"};
}  // namespace

class DiscInfoTest : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        m_folders = std::make_unique<WindowTestFolders>();
        m_drives = std::make_unique<VirtualDriveFixture>(2);
        m_main = std::make_unique<FakeMainWindow>(m_drives->Id(0));
    }
    void cleanup() {
        m_main.reset();
        m_drives.reset();
        m_folders.reset();
    }

    void opensWithBuiltInTextsAndRunningTimer() {
        frmDiscInfo window;
        QCOMPARE(window.windowTitle(), QStringLiteral("Disc Information"));
        QCOMPARE(Control<QLabel>(&window, "lblDiscType")->text(), QString::fromUtf8("碟片类型:"));
        QCOMPARE(Control<QLabel>(&window, "lblSessionStatus")->text(),
                 QString::fromUtf8("最后区段状态:"));
        QCOMPARE(Control<QGroupBox>(&window, "frameInfo")->title(), QString::fromUtf8("碟片信息"));
        QCOMPARE(Control<QPushButton>(&window, "cmdExit")->text(), QString::fromUtf8("关闭(&C)"));
        auto* timer = Control<QTimer>(&window, "Timer1");
        QVERIFY(timer->isActive());
        QCOMPARE(timer->interval(), 200);
        QCOMPARE(window.size(), QSize(6030 / 15 - 8, 4530 / 15 - 30));
    }

    void englishCaptions() {
        SetLanguageFilePath(ShippedLanguageFile("English"));
        frmDiscInfo window;
        QCOMPARE(Control<QLabel>(&window, "LblTrackNum")->text(), QStringLiteral("Tracks:"));
        QCOMPARE(Control<QGroupBox>(&window, "frameInfo")->title(),
                 QStringLiteral("Disc information"));
        QCOMPARE(Control<QPushButton>(&window, "cmdExit")->text(), QStringLiteral("&Close"));
    }

    void noMediumShowsNotAvailable() {
        frmDiscInfo window;
        QCOMPARE(m_drives->Count(kReadDiscInformation), 0);
        window.Timer1Tick();
        QCOMPARE(Values(window), kNotAvailable);
    }

    void loadShowsTheDiscAlreadyInTheDrive() {
        m_drives->InsertRecorded(MediumKind::CdR, 40);
        frmDiscInfo window;
        QCOMPARE(Values(window), (QStringList{"CD-R", "1", "1", "Complete", "Complete"}));
        QCOMPARE(m_drives->Count(kReadDiscInformation), 1);
        window.Timer1Tick();  // the same medium is not queried again
        QCOMPARE(m_drives->Count(kReadDiscInformation), 1);
    }

    void followsInsertionsAndRemovalsOncePerInsertion() {
        frmDiscInfo window;
        window.Timer1Tick();
        QCOMPARE(Values(window), kNotAvailable);

        QCOMPARE(m_drives->Drive().InsertBlank(MediumKind::CdR), std::string());
        window.Timer1Tick();
        QCOMPARE(Values(window), (QStringList{"CD-R", "1", "1", "Empty", "Empty"}));
        window.Timer1Tick();
        window.Timer1Tick();
        QCOMPARE(m_drives->Count(kReadDiscInformation), 1);

        QCOMPARE(m_drives->Drive().RemoveMedium(), std::string());
        window.Timer1Tick();
        QCOMPARE(Values(window), kNotAvailable);

        QCOMPARE(m_drives->Drive().InsertBlank(MediumKind::CdRw), std::string());
        window.Timer1Tick();
        QCOMPARE(Values(window).at(0), QStringLiteral("CD-RW"));
        QCOMPARE(m_drives->Count(kReadDiscInformation), 2);
    }

    void dvdPlusRwWithoutFileSystemIsEmpty() {
        QCOMPARE(m_drives->Drive().InsertBlank(MediumKind::DvdPlusRw), std::string());
        frmDiscInfo window;
        QCOMPARE(Values(window).at(0), QStringLiteral("DVD+RW"));
        QCOMPARE(Values(window).at(3), QStringLiteral("Empty"));
        QCOMPARE(Values(window).at(4), QStringLiteral("Empty"));
    }

    void drivesWithoutMediaEventsStillFollowTheMedium() {
        m_drives->Drive().Faults().noMediaEvents = true;
        frmDiscInfo window;
        window.Timer1Tick();
        QCOMPARE(Values(window), kNotAvailable);
        QCOMPARE(m_drives->Drive().InsertBlank(MediumKind::CdR), std::string());
        window.Timer1Tick();
        QCOMPARE(Values(window).at(0), QStringLiteral("CD-R"));
    }

    void anotherDriveSelectedIsQueriedOnTheNextTick() {
        m_drives->InsertRecorded(MediumKind::CdR, 10, 0);
        QCOMPARE(m_drives->Drive(1).InsertBlank(MediumKind::DvdR), std::string());
        frmDiscInfo window;
        QCOMPARE(Values(window).at(0), QStringLiteral("CD-R"));
        m_main->drive = m_drives->Id(1);
        window.Timer1Tick();
        QCOMPARE(Values(window).at(0), QStringLiteral("DVD-R"));
    }

    void busyDriveIsLeftAlone() {
        frmDiscInfo window;
        QCOMPARE(m_drives->Drive().InsertBlank(MediumKind::CdR), std::string());
        m_drives->Transport().ClearCommandLog();
        {
            const DriveBusyScope busy;
            window.Timer1Tick();
            QVERIFY(m_drives->Transport().CommandLog().empty());
            frmDiscInfo second;  // opening it while busy sends nothing either
            QVERIFY(m_drives->Transport().CommandLog().empty());
        }
        window.Timer1Tick();
        QCOMPARE(m_drives->Count(kGetEventStatus), 1);
        QCOMPARE(Values(window).at(0), QStringLiteral("CD-R"));
    }

    void exitClosesTheWindow() {
        auto* window = frmDiscInfo::ShowWindow();
        QCOMPARE(frmDiscInfo::ShowWindow(), window);  // one window at a time
        QTest::mouseClick(Control<QPushButton>(window, "cmdExit"), Qt::LeftButton);
        QVERIFY(!window->isVisible());
    }

  private:
    std::unique_ptr<WindowTestFolders> m_folders;
    std::unique_ptr<VirtualDriveFixture> m_drives;
    std::unique_ptr<FakeMainWindow> m_main;
};

QTEST_MAIN(DiscInfoTest)
#include "tst_frmDiscInfo.moc"
