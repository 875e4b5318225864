// The windows of the tools menu on the virtual drive. The disc information
// window: the labels it fills from the drive, the drive it asks, when it
// reads the disc again, and when it leaves the drive alone. The erase window: the button follows
// the medium, the check box chooses the erase, and the erase runs on a worker with the window
// locked. What the erase itself says and does is the engine's test.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "AudioBurnEngine.h"
#include "DriveBusy.h"
#include "ScriptedReporter.h"
#include "TestDiscImages.h"
#include "WindowTestRig.h"
#include "frmDiscInfo.h"
#include "frmErase.h"

namespace {
QStringList Values(const frmDiscInfo& window) {
    QStringList values;
    for (const char* name : {"lblValueDiscType", "lblValueSessions", "LblValueTrackNum",
                             "lblValueDiscStatus", "lblValueLastSessionStatus"})
        values << Control<QLabel>(&window, name)->text();
    return values;
}

// A WAV file of `seconds` of CD-DA silence.
std::string SilentCdWav(std::uint32_t seconds) {
    const auto le32 = [](std::uint32_t value) {
        return std::string{static_cast<char>(value), static_cast<char>(value >> 8),
                           static_cast<char>(value >> 16), static_cast<char>(value >> 24)};
    };
    const std::uint32_t bytes = seconds * 176400;
    return "RIFF" + le32(bytes + 36) + "WAVEfmt " + le32(16) + std::string("\1\0\2\0", 4) +
           le32(44100) + le32(176400) + std::string("\4\0\20\0", 4) + "data" + le32(bytes) +
           std::string(bytes, '\0');
}

QStringList Row(const QTreeWidget* list, int row) {
    const QTreeWidgetItem* item = list->topLevelItem(row);
    return {item->text(0), item->text(1), item->text(2)};
}
}  // namespace

class ToolWindowsTest : public QObject {
    Q_OBJECT
  private slots:
    void init() { m_rig = std::make_unique<WindowTestRig>(2); }
    void cleanup() { m_rig.reset(); }

    // What each state shows is the view's test (DiscInfoViewTest, cli_mmc_info);
    // here the labels it fills, the drive it asks and the timer's refresh.
    void discInfoLabelsFollowTheDiscInTheSelectedDrive() {
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

    // The labels follow the disc without seeing the drive empty: after an
    // erase of the erase window; a disc another program puts in with the tray
    // closed (a unit attention and a new-media event, whose fingerprint may
    // equal the old one's); a disc swapped between two ticks (no event here,
    // but another fingerprint).
    void discInfoReadsTheDiscAgainAfterAnEraseAndAnySwap() {
        m_rig->drives.Insert(MediumKind::CdRw, 40);
        frmDiscInfo window;
        QCOMPARE(Values(window).at(3), QStringLiteral("Complete"));
        frmErase erase;
        RunErase(erase);
        QCOMPARE(erase.LastOutcome(), EraseOutcome::Completed);
        window.Timer1Tick();
        QCOMPARE(Values(window), (QStringList{"CD-RW", "1", "1", "Empty", "Empty"}));
        m_rig->drives.Insert(MediumKind::DvdR);
        window.Timer1Tick();
        QCOMPARE(Values(window).at(0), QStringLiteral("DVD-R"));
        std::string error;
        const auto other =
            EmuDrive::Open(m_rig->drives.Folder(), error);  // maple-cli virtual insert
        QVERIFY2(other != nullptr, error.c_str());
        QCOMPARE(other->InsertBlank(MediumKind::DvdPlusR), std::string());
        window.Timer1Tick();
        QCOMPARE(Values(window), (QStringList{"DVD+R", "1", "1", "Empty", "Empty"}));
    }

    void discInfoLeavesABusyDriveAlone() {
        m_rig->drives.Insert(MediumKind::CdR);
        m_rig->drives.Transport().ClearCommandLog();
        auto busy = std::make_unique<DriveBusyScope>(m_rig->drives.Id());
        frmDiscInfo window;
        window.Timer1Tick();
        QVERIFY(m_rig->drives.Transport().CommandLog().empty());
        busy.reset();
        window.Timer1Tick();
        QCOMPARE(m_rig->drives.Count(0x4A), std::size_t(1));
        QCOMPARE(Values(window).at(0), QStringLiteral("CD-R"));
    }

    // An audio CD's CD-TEXT shows in a frame of its own, which the window
    // grows by; a disc without CD-TEXT does not show it.
    void discInfoShowsTheCdTextOfAnAudioCd() {
        m_rig->drives.Insert(MediumKind::CdR);
        frmDiscInfo window;
        auto* frame = Control<QGroupBox>(&window, "frameCdText");
        QVERIFY(frame->isHidden());
        const int height = window.height();
        const TempFolder files;
        WriteFile(files.File("four.wav"), SilentCdWav(4));
        AudioBurnOptions options;
        options.discAtOnce = true;
        options.ejectDisc = false;
        options.cdText = {{"Album", "Band", ""}, {{"One", "Singer", ""}, {"Two", "", ""}}};
        ScriptedReporter reporter;
        QCOMPARE(AudioBurnEngine(reporter, options)
                     .StartAudioBurn(m_rig->drives.Id(),
                                     {files.File("four.wav"), files.File("four.wav")}),
                 AudioBurnOutcome::Completed);
        window.Timer1Tick();
        QVERIFY(!frame->isHidden());
        auto* list = Control<QTreeWidget>(&window, "lvwCdText");
        QCOMPARE(list->topLevelItemCount(), 3);
        QCOMPARE(Row(list, 0), (QStringList{QString::fromUtf8("专辑"), "Album", "Band"}));
        QCOMPARE(Row(list, 1), (QStringList{"1", "One", "Singer"}));
        QCOMPARE(Row(list, 2), (QStringList{"2", "Two", ""}));
        QVERIFY(window.height() > height);
        QVERIFY(Control<QPushButton>(&window, "cmdExit")->geometry().top() >
                frame->geometry().bottom());
        m_rig->drives.Insert(MediumKind::DvdR);
        window.Timer1Tick();
        QVERIFY(frame->isHidden());
        QCOMPARE(window.height(), height);
    }

    void discInfoExitClosesTheOneWindow() {
        auto* window = frmDiscInfo::ShowWindow();
        QCOMPARE(frmDiscInfo::ShowWindow(), window);
        QTest::mouseClick(Control<QPushButton>(window, "cmdExit"), Qt::LeftButton);
        QVERIFY(!window->isVisible());
    }

    // "Close the disc" follows the disc's state, asks first (a No sends
    // nothing), and finalises an appendable DVD+R on its worker.
    void discInfoClosesAnAppendableDisc() {
        m_rig->drives.Insert(MediumKind::DvdPlusR);
        QVERIFY(RecordOpenSession(m_rig->drives, m_rig->drives.File("")));
        frmDiscInfo window;
        auto* closeDisc = Control<QPushButton>(&window, "cmdCloseDisc");
        QCOMPARE(Values(window).at(3), QStringLiteral("unComplete"));
        QVERIFY(closeDisc->isEnabled());
        QSignalSpy finished(&window, &frmDiscInfo::closeFinished);
        m_rig->boxes.QueueAnswer(MessageAnswer::No);
        QTest::mouseClick(closeDisc, Qt::LeftButton);
        QCOMPARE(finished.count(), 1);
        QCOMPARE(m_rig->drives.Count(0x5B), std::size_t(2));  // only the recording's closes
        QTest::mouseClick(closeDisc, Qt::LeftButton);
        QVERIFY(finished.wait(10000));
        QCOMPARE(m_rig->drives.Cdbs(0x5B).back().at(2) & 0x07, 5);  // finalise
        window.Timer1Tick();
        QCOMPARE(Values(window).at(3), QStringLiteral("Complete"));
        QVERIFY(!closeDisc->isEnabled());
    }

    // The watch itself (readiness where a drive gives no media events) is
    // DiscInfoViewTest's and cli_mmc_info's.
    void eraseButtonFollowsTheMedium() {
        frmErase window;
        auto* erase = Control<QPushButton>(&window, "cmdErase");
        window.Timer1Tick();
        QVERIFY(!erase->isEnabled());
        m_rig->drives.Insert(MediumKind::CdRw);
        window.Timer1Tick();
        QVERIFY(erase->isEnabled());
        {
            const DriveBusyScope busy(m_rig->drives.Id());  // another window burns
            window.Timer1Tick();
            QVERIFY(!erase->isEnabled());
        }
        QCOMPARE(m_rig->drives.Drive().RemoveMedium(), std::string());
        window.Timer1Tick();
        QVERIFY(!erase->isEnabled());
    }

    void eraseCheckBoxChoosesQuickOrFull_data() {
        QTest::addColumn<bool>("quick");
        QTest::addColumn<QString>("cdb");
        QTest::newRow("quick") << true << QStringLiteral("A1 01 00 00 00 00 00 00 00 00 00 00");
        QTest::newRow("full") << false << QStringLiteral("A1 00 00 00 00 00 00 00 00 00 00 00");
    }
    void eraseCheckBoxChoosesQuickOrFull() {
        QFETCH(bool, quick);
        QFETCH(QString, cdb);
        m_rig->drives.Insert(MediumKind::CdRw, 40);
        frmErase window;
        QVERIFY(Control<QCheckBox>(&window, "chkQuikErase")->isChecked());  // the default
        Control<QCheckBox>(&window, "chkQuikErase")->setChecked(quick);
        RunErase(window);
        QCOMPARE(window.LastOutcome(), EraseOutcome::Completed);
        QCOMPARE(HexBytes(m_rig->drives.Cdbs(0xA1).at(0)), cdb.toStdString());
        QCOMPARE(Control<QLabel>(&window, "LblStat")->text(), QString::fromUtf8("光碟抹除成功!"));
        // The outcome stays for the erased disc and goes when another comes.
        window.Timer1Tick();
        QCOMPARE(Control<QLabel>(&window, "LblStat")->text(), QString::fromUtf8("光碟抹除成功!"));
        m_rig->drives.Insert(MediumKind::CdRw, 80);
        window.Timer1Tick();
        QCOMPARE(Control<QLabel>(&window, "LblStat")->text(), QString::fromUtf8("等待操作..."));
    }

    // The confirmation is asked while the erase runs on its worker: the
    // window is locked then, and ready again after a No.
    void eraseWindowIsLockedWhileErasingAndReadyAfterANo() {
        m_rig->drives.Insert(MediumKind::CdRw, 40);
        m_rig->boxes.QueueAnswer(MessageAnswer::No);
        frmErase window;
        window.show();
        bool checked = false;
        m_rig->boxes.OnShow([&](const MessageBoxRequest& box) {
            if (checked) return;
            checked = true;
            QVERIFY(window.Erasing() && box.parent == &window);
            QVERIFY(IsDriveBusy(m_rig->drives.Id()));
            QVERIFY(!Control<QPushButton>(&window, "cmdErase")->isEnabled());
            QVERIFY(!Control<QPushButton>(&window, "cmdCancel")->isEnabled());
            QVERIFY(!Control<QCheckBox>(&window, "chkQuikErase")->isEnabled());
            QVERIFY(!window.close());
            QVERIFY(window.isVisible());
        });
        RunErase(window);
        QVERIFY(checked);
        QCOMPARE(window.LastOutcome(), EraseOutcome::Declined);
        QVERIFY(!AnyDriveBusy());
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

QTEST_MAIN(ToolWindowsTest)
#include "tst_ToolWindows.moc"
