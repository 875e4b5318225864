// The disc information window on the virtual drive: the labels it
// fills from the drive, the drive it asks, and when it leaves the drive alone.
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "DriveBusy.h"
#include "WindowTestRig.h"
#include "frmDiscInfo.h"

namespace {
QStringList Values(const frmDiscInfo& window) {
    QStringList values;
    for (const char* name : {"lblValueDiscType", "lblValueSessions", "LblValueTrackNum",
                             "lblValueDiscStatus", "lblValueLastSessionStatus"})
        values << Control<QLabel>(&window, name)->text();
    return values;
}
}  // namespace

class DiscInfoTest : public QObject {
    Q_OBJECT
  private slots:
    void init() { m_rig = std::make_unique<WindowTestRig>(2); }
    void cleanup() { m_rig.reset(); }

    // What each state shows is the view's test (DiscInfoViewTest, cli_mmc_info);
    // here the labels it fills, the drive it asks and the timer's refresh.
    void labelsFollowTheDiscInTheSelectedDrive() {
        m_rig->drives.Insert(MediumKind::CdR, 40, 0);
        m_rig->drives.Insert(MediumKind::DvdR, 0, 1);
        frmDiscInfo window;
        QVERIFY(Control<QTimer>(&window, "Timer1")->isActive());
        QCOMPARE(Values(window), (QStringList{"CD-R", "1", "1", "Complete", "Complete"}));
        m_rig->main.drive = m_rig->drives.Id(1);
        window.Timer1Tick();
        QCOMPARE(Values(window).at(0), QStringLiteral("DVD-R"));
        QCOMPARE(m_rig->drives.Drive(1).RemoveMedium(), std::string());
        window.Timer1Tick();
        QCOMPARE(Values(window), (QStringList{"N/A", "N/A", "N/A", "N/A", "N/A"}));
    }

    void aBusyDriveIsLeftAlone() {
        m_rig->drives.Insert(MediumKind::CdR);
        m_rig->drives.Transport().ClearCommandLog();
        auto busy = std::make_unique<DriveBusyScope>();
        frmDiscInfo window;
        window.Timer1Tick();
        QVERIFY(m_rig->drives.Transport().CommandLog().empty());
        busy.reset();
        window.Timer1Tick();
        QCOMPARE(m_rig->drives.Count(0x4A), std::size_t(1));
        QCOMPARE(Values(window).at(0), QStringLiteral("CD-R"));
    }

    void exitClosesTheOneWindow() {
        auto* window = frmDiscInfo::ShowWindow();
        QCOMPARE(frmDiscInfo::ShowWindow(), window);
        QTest::mouseClick(Control<QPushButton>(window, "cmdExit"), Qt::LeftButton);
        QVERIFY(!window->isVisible());
    }

  private:
    std::unique_ptr<WindowTestRig> m_rig;
};

QTEST_MAIN(DiscInfoTest)
#include "tst_frmDiscInfo.moc"
