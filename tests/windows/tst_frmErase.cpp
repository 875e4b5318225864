// The erase window on the virtual drive: the button follows the medium, the
// erase runs on a worker, and every refusal leaves the disc untouched.
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "DriveBusy.h"
#include "LanguageFile.h"
#include "VirtualDriveFixture.h"
#include "WindowTestSupport.h"
#include "frmErase.h"

namespace {
constexpr std::uint8_t kBlank = 0xA1;
}

class EraseTest : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        m_folders = std::make_unique<WindowTestFolders>();
        m_drives = std::make_unique<VirtualDriveFixture>();
        m_main = std::make_unique<FakeMainWindow>(m_drives->Id());
        m_boxes = std::make_unique<MessageBoxRecorder>();
    }
    void cleanup() {
        m_boxes.reset();
        m_main.reset();
        m_drives.reset();
        m_folders.reset();
    }

    void opensWithBuiltInTexts() {
        frmErase window;
        QCOMPARE(window.windowTitle(), QStringLiteral("Erase Disc"));
        QVERIFY(Control<QCheckBox>(&window, "chkQuikErase")->isChecked());
        QCOMPARE(Control<QLabel>(&window, "LblStat")->text(), QString::fromUtf8("等待操作..."));
        QCOMPARE(Control<QPushButton>(&window, "cmdErase")->text(), QString::fromUtf8("擦除(&E)"));
        QCOMPARE(Control<QPushButton>(&window, "cmdCancel")->text(), QString::fromUtf8("取消(&C)"));
        QVERIFY(
            Control<QLabel>(&window, "lblEraseMsg")->text().startsWith(QString::fromUtf8("警告:")));
        QVERIFY(Control<QTimer>(&window, "Timer1")->isActive());
        QCOMPARE(Control<QTimer>(&window, "Timer1")->interval(), 200);
    }

    void englishTexts() {
        SetLanguageFilePath(ShippedLanguageFile("English"));
        frmErase window;
        QCOMPARE(Control<QCheckBox>(&window, "chkQuikErase")->text(),
                 QStringLiteral("Quick erase"));
        QCOMPARE(Control<QLabel>(&window, "lblStatus")->text(), QStringLiteral("Status:"));
        QCOMPARE(Control<QPushButton>(&window, "cmdErase")->text(), QStringLiteral("&Erase"));
    }

    void buttonFollowsMediumPresence() {
        frmErase window;
        auto* erase = Control<QPushButton>(&window, "cmdErase");
        window.Timer1Tick();
        QVERIFY(!erase->isEnabled());
        QCOMPARE(m_drives->Drive().InsertBlank(MediumKind::CdRw), std::string());
        window.Timer1Tick();
        QVERIFY(erase->isEnabled());
        {
            const DriveBusyScope busy;  // another window burns
            window.Timer1Tick();
            QVERIFY(!erase->isEnabled());
        }
        window.Timer1Tick();
        QVERIFY(erase->isEnabled());
        QCOMPARE(m_drives->Drive().RemoveMedium(), std::string());
        window.Timer1Tick();
        QVERIFY(!erase->isEnabled());
    }

    void buttonFollowsTheMediumAlsoWithoutMediaEvents() {
        m_drives->Drive().Faults().noMediaEvents = true;
        frmErase window;
        auto* erase = Control<QPushButton>(&window, "cmdErase");
        window.Timer1Tick();
        QVERIFY(!erase->isEnabled());
        QCOMPARE(m_drives->Drive().InsertBlank(MediumKind::CdRw), std::string());
        window.Timer1Tick();
        QVERIFY(erase->isEnabled());
        QCOMPARE(m_drives->Drive().RemoveMedium(), std::string());
        window.Timer1Tick();
        QVERIFY(!erase->isEnabled());
    }

    void answeringNoLeavesTheDiscUntouched() {
        m_drives->InsertRecorded(MediumKind::CdRw);
        m_boxes->QueueAnswer(MessageAnswer::No);
        frmErase window;
        RunErase(window);
        QCOMPARE(window.LastOutcome(), EraseOutcome::Declined);
        QCOMPARE(m_boxes->shown.size(), std::size_t(1));
        QCOMPARE(m_boxes->shown[0].text,
                 QString::fromUtf8("此动作将导致您的光碟上的资料丢失，您确定继续吗?"));
        QCOMPARE(m_boxes->shown[0].title, QString::fromUtf8("抹除光碟"));
        QCOMPARE(m_boxes->shown[0].buttons, MessageButtons::YesNo);
        QCOMPARE(m_drives->Count(kBlank), 0);
        QCOMPARE(m_drives->Drive().Media().State(), DiscState::Complete);
        QVERIFY(Control<QTimer>(&window, "Timer1")->isActive());
        window.Timer1Tick();
        QVERIFY(Control<QPushButton>(&window, "cmdErase")->isEnabled());
    }

    void cdRIsRefused() {
        m_drives->InsertRecorded(MediumKind::CdR);
        frmErase window;
        RunErase(window);
        QCOMPARE(window.LastOutcome(), EraseOutcome::NotErasable);
        QCOMPARE(m_boxes->shown.size(), std::size_t(2));
        QCOMPARE(m_boxes->shown[1].text, QString::fromUtf8("您放入的光碟不是可重写型光碟!"));
        QCOMPARE(m_boxes->shown[1].title, QString::fromUtf8("提示"));
        QCOMPARE(m_boxes->shown[1].icon, MessageIcon::Exclamation);
        QCOMPARE(m_drives->Count(kBlank), 0);
    }

    void noDiscIsRefused() {
        frmErase window;
        RunErase(window);
        QCOMPARE(window.LastOutcome(), EraseOutcome::NoDisc);
        QCOMPARE(m_boxes->shown.back().text, QString::fromUtf8("您的光碟机中没有光碟片"));
    }

    void quickAndFullEraseSendTheirBlankingType_data() {
        QTest::addColumn<bool>("quick");
        QTest::addColumn<QString>("cdb");
        QTest::newRow("quick") << true << QStringLiteral("A1 01 00 00 00 00 00 00 00 00 00 00");
        QTest::newRow("full") << false << QStringLiteral("A1 00 00 00 00 00 00 00 00 00 00 00");
    }
    void quickAndFullEraseSendTheirBlankingType() {
        QFETCH(bool, quick);
        QFETCH(QString, cdb);
        m_drives->InsertRecorded(MediumKind::CdRw);
        frmErase window;
        Control<QCheckBox>(&window, "chkQuikErase")->setChecked(quick);
        RunErase(window);
        QCOMPARE(window.LastOutcome(), EraseOutcome::Erased);
        QCOMPARE(m_drives->Cdbs(kBlank), std::vector<std::string>{cdb.toStdString()});
        QCOMPARE(m_drives->Drive().Media().State(), DiscState::Blank);
        QCOMPARE(Control<QLabel>(&window, "LblStat")->text(), QString::fromUtf8("光碟抹除成功!"));
        QCOMPARE(m_boxes->shown.back().text, QString::fromUtf8("光碟抹除成功!"));
        QCOMPARE(m_boxes->shown.back().title, QString::fromUtf8("信息"));
        QCOMPARE(m_boxes->shown.back().icon, MessageIcon::Information);
    }

    void failedBlankIsReported() {
        m_drives->InsertRecorded(MediumKind::CdRw);
        m_drives->Drive().Faults().failures.push_back({kBlank, 0, 1, 0x03, 0x0C, 0x00});
        frmErase window;
        RunErase(window);
        QCOMPARE(window.LastOutcome(), EraseOutcome::Failed);
        QCOMPARE(Control<QLabel>(&window, "LblStat")->text(), QString::fromUtf8("光碟抹除失败!"));
        QCOMPARE(m_boxes->shown.back().title, QString::fromUtf8("错误"));
        QCOMPARE(m_boxes->shown.back().icon, MessageIcon::Exclamation);
    }

    void windowIsLockedWhileErasing() {
        m_drives->InsertRecorded(MediumKind::CdRw);
        frmErase window;
        window.show();
        bool checked = false;
        // The confirmation is asked while the erase runs on its worker.
        m_boxes->OnShow([&](const MessageBoxRequest&) {
            if (checked) return;
            checked = true;
            QVERIFY(window.Erasing());
            QVERIFY(IsDriveBusy());
            QVERIFY(!Control<QPushButton>(&window, "cmdErase")->isEnabled());
            QVERIFY(!Control<QPushButton>(&window, "cmdCancel")->isEnabled());
            QVERIFY(!Control<QCheckBox>(&window, "chkQuikErase")->isEnabled());
            QVERIFY(!window.close());
            QVERIFY(window.isVisible());
        });
        RunErase(window);
        QVERIFY(checked);
        QVERIFY(!IsDriveBusy());
        QVERIFY(Control<QPushButton>(&window, "cmdCancel")->isEnabled());
        QVERIFY(Control<QCheckBox>(&window, "chkQuikErase")->isEnabled());
        QTest::mouseClick(Control<QPushButton>(&window, "cmdCancel"), Qt::LeftButton);
        QVERIFY(!window.isVisible());
    }

  private:
    // Presses Erase once the timer has enabled it and waits for the end.
    void RunErase(frmErase& window) {
        window.Timer1Tick();
        auto* erase = Control<QPushButton>(&window, "cmdErase");
        erase->setEnabled(true);  // also without a medium, to reach the checks
        QSignalSpy finished(&window, &frmErase::eraseFinished);
        QTest::mouseClick(erase, Qt::LeftButton);
        QVERIFY(!Control<QTimer>(&window, "Timer1")->isActive());
        QVERIFY(finished.wait(10000));
    }

    std::unique_ptr<WindowTestFolders> m_folders;
    std::unique_ptr<VirtualDriveFixture> m_drives;
    std::unique_ptr<FakeMainWindow> m_main;
    std::unique_ptr<MessageBoxRecorder> m_boxes;
};

QTEST_MAIN(EraseTest)
#include "tst_frmErase.moc"
