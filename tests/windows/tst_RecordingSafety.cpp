// How a recording in the record-image window ends when the user steps in:
// a close during the recording asks first; the job ending under that
// question closes it and then the window; Cancel asks the same question,
// with No as the answer of Enter, and stops at the next block; a disc
// swapped for one that cannot simulate leaves the test-mode tick alone and
// the recorder refuses it.
#include <QCheckBox>
#include <QComboBox>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <thread>

#include "RecordingTask.h"
#include "Sleeper.h"
#include "TestDiscImages.h"
#include "WindowTestRig.h"
#include "frmWriteISO.h"

namespace {
constexpr std::uint8_t kWrite10 = 0x2A;
constexpr std::uint8_t kSetCdSpeed = 0xBB;
const char* const kStopQuestion = "正在刻录。要停止刻录吗？中途停止的光碟可能无法再使用。";

// Holds the recording's thread in a wait of the sleep seam.
struct SleepGate {
    std::atomic<bool> waiting = false;
    std::atomic<bool> open = false;
    // Opens the gate when it goes, so a failed check never leaves the
    // recording waiting for ever.
    struct Opener {
        std::shared_ptr<SleepGate> gate;
        ~Opener() { gate->open = true; }
    };
};
}  // namespace

class RecordingSafetyTest : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        m_rig = std::make_unique<WindowTestRig>();
        m_image = m_rig->folders.Folder().File("My Image.ISO");
        WriteTestImage(m_image, 80);  // three WRITEs of 32 blocks
        m_rig->drives.Insert(MediumKind::CdR);
    }
    void cleanup() { m_rig.reset(); }

    void closingDuringARecordingAsksAndStopsOnlyWhenTold_data() {
        QTest::addColumn<bool>("stop");
        QTest::newRow("go on") << false;
        QTest::newRow("stop") << true;
    }
    void closingDuringARecordingAsksAndStopsOnlyWhenTold() {
        QFETCH(bool, stop);
        QPointer<frmWriteISO> window = frmWriteISO::OpenImage(QString::fromStdString(m_image));
        // A refused speed holds the recording at its warning: the user closes then.
        m_rig->drives.Drive().Faults().failures.push_back({kSetCdSpeed, 0, 1, 0x05, 0x24, 0x00});
        m_rig->boxes.QueueAnswer(stop ? MessageAnswer::Yes : MessageAnswer::No);
        m_rig->boxes.OnShow([&](const MessageBoxRequest& box) {
            if (box.text.startsWith(QStringLiteral("WARNING"))) QVERIFY(!window->close());
        });
        const std::optional<BurnOutcome> outcome = RunBurn(*window);
        QCOMPARE(m_rig->boxes.shown.at(1).text, QString::fromUtf8(kStopQuestion));
        QVERIFY(m_rig->boxes.shown.at(1).noIsDefault);
        QCOMPARE(outcome, stop ? BurnOutcome::Cancelled : BurnOutcome::Completed);
        QCOMPARE(m_rig->drives.Drive().Media().State(),
                 stop ? DiscState::Blank : DiscState::Complete);
        if (!stop) QVERIFY(DiscHoldsImage(m_rig->drives.Drive(), m_image));
        QTRY_VERIFY(window.isNull());
        QVERIFY(m_rig->main.widget.isVisible());
    }

    // The question is left open while the recording ends. Its end message
    // comes after the question has gone (as a No), and the window then
    // closes as after any recording: whether the job's end reaches the
    // window before the question has gone or after.
    void aRecordingThatEndsUnderTheStopQuestionClosesItThenTheWindow_data() {
        QTest::addColumn<bool>("jobOverFirst");
        QTest::newRow("question gone first") << false;
        QTest::newRow("job over first") << true;
    }
    void aRecordingThatEndsUnderTheStopQuestionClosesItThenTheWindow() {
        QFETCH(bool, jobOverFirst);
        QPointer<frmWriteISO> window = frmWriteISO::OpenImage(QString::fromStdString(m_image));
        m_rig->drives.Drive().Faults().failures.push_back({kSetCdSpeed, 0, 1, 0x05, 0x24, 0x00});
        QSignalSpy ended(window.data(), &frmWriteISO::burnFinished);
        std::shared_ptr<const bool> questionClosed;
        bool closedBeforeTheEnd = false;
        m_rig->boxes.OnShow([&](const MessageBoxRequest& box) {
            if (box.text.startsWith(QStringLiteral("WARNING")))
                QTimer::singleShot(0, window, [&] { window->close(); });  // once it records
            if (box.text == QString::fromUtf8("刻录完成!"))
                closedBeforeTheEnd = questionClosed && *questionClosed;
            if (box.text != QString::fromUtf8(kStopQuestion)) return;
            questionClosed = box.closedByProgram;  // the user leaves it on the screen
            QTRY_VERIFY_WITH_TIMEOUT(*box.closedByProgram, 20000);
            if (jobOverFirst) QTRY_VERIFY_WITH_TIMEOUT(!ended.isEmpty(), 20000);
        });
        window->show();
        window->Timer1Tick();
        QTest::mouseClick(Control<QPushButton>(window, "CmdBurn"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(window.isNull(), 20000);
        QVERIFY(closedBeforeTheEnd);
        QCOMPARE(m_rig->boxes.shown.back().text, QString::fromUtf8("刻录完成!"));
        QCOMPARE(ended.size(), 1);
        QVERIFY(DiscHoldsImage(m_rig->drives.Drive(), m_image));
        QVERIFY(m_rig->main.widget.isVisible());
    }

    // Cancel shows while the recording runs. Its question answers No to
    // Enter; a Yes stops the recording at the next block, says what the disc
    // holds, and the window stays for another try.
    void cancelAsksWithNoAsTheDefaultAndStopsAtTheNextBlock() {
        frmWriteISO window(RecordingTask::kRecordImage, QString::fromStdString(m_image));
        window.show();
        auto* cancel = Control<QPushButton>(&window, "cmdCancel");
        QVERIFY(!cancel->isVisible());
        // The second WRITE(10) finds the drive busy; its retry waits at the
        // gate, which opens at the latest when the test ends.
        m_rig->drives.Drive().Faults().failures.push_back({kWrite10, 1, 1, 0x02, 0x04, 0x08});
        auto gate = std::make_shared<SleepGate>();
        const SleepGate::Opener opener{gate};
        SetSleepHandler([gate](int) {
            gate->waiting = true;
            while (!gate->open) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        });
        QSignalSpy ended(&window, &frmWriteISO::burnFinished);
        window.Timer1Tick();
        QTest::mouseClick(Control<QPushButton>(&window, "CmdBurn"), Qt::LeftButton);
        QTRY_VERIFY(gate->waiting);
        QVERIFY(cancel->isVisible() && cancel->isEnabled());
        // The question on the screen: Enter means No, and the recording goes on.
        SetMessageBoxHandler({});
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
        QTimer::singleShot(0, this, [&defaultButton] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box != nullptr);
            defaultButton = box->standardButton(box->defaultButton());
            QTest::keyClick(box, Qt::Key_Return);
        });
        QTest::mouseClick(cancel, Qt::LeftButton);
        QCOMPARE(defaultButton, QMessageBox::No);
        QVERIFY(window.Recording());
        m_rig->boxes.Install();
        QTest::mouseClick(cancel, Qt::LeftButton);  // Yes
        QCOMPARE(m_rig->boxes.shown.at(0).text, QString::fromUtf8(kStopQuestion));
        gate->open = true;
        QVERIFY(ended.wait(20000));
        QCOMPARE(window.LastOutcome(), BurnOutcome::Cancelled);
        QCOMPARE(m_rig->drives.Count(kWrite10), std::size_t(3));  // the busy one sent twice
        QCOMPARE(m_rig->boxes.shown.back().text,
                 QString::fromUtf8(
                     "已停止。光碟上留有未完成的刻录：这张一次性写入的光碟已无法再使用。"));
        QVERIFY(window.isVisible() && !cancel->isVisible());
    }

    // The tick is the user's: a disc that cannot simulate leaves it ticked
    // and changeable, and the recorder refuses test mode there before it
    // writes. Unticked, the same disc is recorded.
    void testModeStaysTickedOnADiscThatCannotSimulateAndIsRefusedThere() {
        frmWriteISO window(RecordingTask::kRecordImage, QString::fromStdString(m_image));
        auto* testMode = Control<QCheckBox>(&window, "chkTestMode");
        window.Timer1Tick();
        testMode->setChecked(true);
        QCOMPARE(m_rig->drives.Drive().RemoveMedium(), std::string());
        window.Timer1Tick();
        m_rig->drives.Insert(MediumKind::DvdPlusR);
        window.Timer1Tick();
        QCOMPARE(Control<QComboBox>(&window, "cboWriteSpeed")->itemText(0), QStringLiteral("16x"));
        QVERIFY(testMode->isChecked() && testMode->isEnabled());
        QCOMPARE(RunBurn(window), BurnOutcome::Refused);
        QVERIFY(m_rig->boxes.shown.back().text.startsWith(
            QString::fromUtf8("DVD+R 光碟不能进行测试刻录")));
        QCOMPARE(m_rig->drives.Count(kWrite10), std::size_t(0));
        QVERIFY(testMode->isChecked());
        testMode->setChecked(false);
        QCOMPARE(RunBurn(window), BurnOutcome::Completed);
        QVERIFY(DiscHoldsImage(m_rig->drives.Drive(), m_image));
    }

  private:
    std::unique_ptr<WindowTestRig> m_rig;
    std::string m_image;
};

QTEST_MAIN(RecordingSafetyTest)
#include "tst_RecordingSafety.moc"
