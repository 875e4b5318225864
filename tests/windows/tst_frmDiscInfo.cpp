// The disc information window on the virtual drive: the labels it
// fills from the drive, the drive it asks, and when it leaves the drive alone.
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "DriveBusy.h"
#include "VirtualDriveSession.h"
#include "WindowTestSupport.h"
#include "frmDiscInfo.h"

namespace {
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
        m_drives = std::make_unique<VirtualDriveSession>(2);
        m_main = std::make_unique<FakeMainWindow>(m_drives->Id(0));
    }
    void cleanup() {
        m_main.reset();
        m_drives.reset();
        m_folders.reset();
    }

    void timerAndSize() {
        frmDiscInfo window;
        auto* timer = Control<QTimer>(&window, "Timer1");
        QVERIFY(timer->isActive());
        QCOMPARE(timer->interval(), 200);
        QCOMPARE(window.size(), QSize(6030 / 15 - 8, 4530 / 15 - 30));
    }

    void labelsFollowTheDiscInTheDrive() {
        m_drives->Insert(MediumKind::CdR, 40);
        frmDiscInfo window;
        QCOMPARE(Values(window), (QStringList{"CD-R", "1", "1", "Complete", "Complete"}));
        QCOMPARE(m_drives->Drive().RemoveMedium(), std::string());
        window.Timer1Tick();
        QCOMPARE(Values(window), kNotAvailable);
        m_drives->Insert(MediumKind::CdRw);
        window.Timer1Tick();
        QCOMPARE(Values(window), (QStringList{"CD-RW", "1", "1", "Empty", "Empty"}));
    }

    void anotherDriveSelectedIsQueriedOnTheNextTick() {
        m_drives->Insert(MediumKind::CdR, 10, 0);
        m_drives->Insert(MediumKind::DvdR, 0, 1);
        frmDiscInfo window;
        QCOMPARE(Values(window).at(0), QStringLiteral("CD-R"));
        m_main->drive = m_drives->Id(1);
        window.Timer1Tick();
        QCOMPARE(Values(window).at(0), QStringLiteral("DVD-R"));
    }

    void aBusyDriveIsLeftAlone() {
        m_drives->Insert(MediumKind::CdR);
        m_drives->Transport().ClearCommandLog();
        auto busy = std::make_unique<DriveBusyScope>();
        frmDiscInfo window;
        window.Timer1Tick();
        QVERIFY(m_drives->Transport().CommandLog().empty());
        busy.reset();
        window.Timer1Tick();
        QCOMPARE(m_drives->Count(0x4A), std::size_t(1));
        QCOMPARE(Values(window).at(0), QStringLiteral("CD-R"));
    }

    void exitClosesTheOneWindow() {
        auto* window = frmDiscInfo::ShowWindow();
        QCOMPARE(frmDiscInfo::ShowWindow(), window);
        QTest::mouseClick(Control<QPushButton>(window, "cmdExit"), Qt::LeftButton);
        QVERIFY(!window->isVisible());
    }

  private:
    std::unique_ptr<WindowTestFolders> m_folders;
    std::unique_ptr<VirtualDriveSession> m_drives;
    std::unique_ptr<FakeMainWindow> m_main;
};

QTEST_MAIN(DiscInfoTest)
#include "tst_frmDiscInfo.moc"
