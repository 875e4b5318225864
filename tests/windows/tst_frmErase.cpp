// The erase window on the virtual drive: the button follows the medium, the
// check box chooses the erase, and the erase runs on a worker with the
// window locked. What the erase itself says and does is the engine's test.
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "DriveBusy.h"
#include "WindowTestRig.h"
#include "frmErase.h"

class EraseTest : public QObject {
    Q_OBJECT
  private slots:
    void init() { m_rig = std::make_unique<WindowTestRig>(); }
    void cleanup() { m_rig.reset(); }

    // The watch itself (readiness where a drive gives no media events) is
    // DiscInfoViewTest's and cli_mmc_info's.
    void buttonFollowsTheMedium() {
        frmErase window;
        auto* erase = Control<QPushButton>(&window, "cmdErase");
        window.Timer1Tick();
        QVERIFY(!erase->isEnabled());
        m_rig->drives.Insert(MediumKind::CdRw);
        window.Timer1Tick();
        QVERIFY(erase->isEnabled());
        {
            const DriveBusyScope busy;  // another window burns
            window.Timer1Tick();
            QVERIFY(!erase->isEnabled());
        }
        QCOMPARE(m_rig->drives.Drive().RemoveMedium(), std::string());
        window.Timer1Tick();
        QVERIFY(!erase->isEnabled());
    }

    void theCheckBoxChoosesQuickOrFull_data() {
        QTest::addColumn<bool>("quick");
        QTest::addColumn<QString>("cdb");
        QTest::newRow("quick") << true << QStringLiteral("A1 01 00 00 00 00 00 00 00 00 00 00");
        QTest::newRow("full") << false << QStringLiteral("A1 00 00 00 00 00 00 00 00 00 00 00");
    }
    void theCheckBoxChoosesQuickOrFull() {
        QFETCH(bool, quick);
        QFETCH(QString, cdb);
        m_rig->drives.Insert(MediumKind::CdRw, 40);
        frmErase window;
        QVERIFY(Control<QCheckBox>(&window, "chkQuikErase")->isChecked());  // the default
        Control<QCheckBox>(&window, "chkQuikErase")->setChecked(quick);
        RunErase(window);
        QCOMPARE(window.LastOutcome(), EraseOutcome::Erased);
        QCOMPARE(HexBytes(m_rig->drives.Cdbs(0xA1).at(0)), cdb.toStdString());
        QCOMPARE(Control<QLabel>(&window, "LblStat")->text(), QString::fromUtf8("光碟抹除成功!"));
    }

    // The confirmation is asked while the erase runs on its worker: the
    // window is locked then, and ready again after a No.
    void windowIsLockedWhileErasingAndReadyAfterANo() {
        m_rig->drives.Insert(MediumKind::CdRw, 40);
        m_rig->boxes.QueueAnswer(MessageAnswer::No);
        frmErase window;
        window.show();
        bool checked = false;
        m_rig->boxes.OnShow([&](const MessageBoxRequest& box) {
            if (checked) return;
            checked = true;
            QVERIFY(window.Erasing() && box.parent == &window);
            QVERIFY(IsDriveBusy());
            QVERIFY(!Control<QPushButton>(&window, "cmdErase")->isEnabled());
            QVERIFY(!Control<QPushButton>(&window, "cmdCancel")->isEnabled());
            QVERIFY(!Control<QCheckBox>(&window, "chkQuikErase")->isEnabled());
            QVERIFY(!window.close());
            QVERIFY(window.isVisible());
        });
        RunErase(window);
        QVERIFY(checked);
        QCOMPARE(window.LastOutcome(), EraseOutcome::Declined);
        QVERIFY(!IsDriveBusy());
        QVERIFY(Control<QCheckBox>(&window, "chkQuikErase")->isEnabled());
        QVERIFY(Control<QTimer>(&window, "Timer1")->isActive());
        window.Timer1Tick();
        QVERIFY(Control<QPushButton>(&window, "cmdErase")->isEnabled());
        QTest::mouseClick(Control<QPushButton>(&window, "cmdCancel"), Qt::LeftButton);
        QVERIFY(!window.isVisible());
    }

  private:
    // Presses Erase once the timer has enabled it and waits for the end.
    void RunErase(frmErase& window) {
        window.Timer1Tick();
        auto* erase = Control<QPushButton>(&window, "cmdErase");
        QSignalSpy finished(&window, &frmErase::eraseFinished);
        QTest::mouseClick(erase, Qt::LeftButton);
        QVERIFY(!Control<QTimer>(&window, "Timer1")->isActive());
        QVERIFY(finished.wait(10000));
    }

    std::unique_ptr<WindowTestRig> m_rig;
};

QTEST_MAIN(EraseTest)
#include "tst_frmErase.moc"
