// The record-image window on the virtual drive: a user's image chosen in the
// dialog or dropped (never in place of a temporary image), recorded and read
// back; Burn and the options following the medium; the safety checks shown;
// a failing recording; the verify box; closing the window during a recording.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "IsolatedProgramFolders.h"
#include "ModFileDlg.h"
#include "RecordingTask.h"
#include "SettingsStore.h"
#include "TestDiscImages.h"
#include "VirtualDriveSession.h"
#include "WindowTestSupport.h"
#include "frmWriteISO.h"

namespace {
constexpr std::uint8_t kWrite10 = 0x2A;
constexpr std::uint8_t kSetCdSpeed = 0xBB;
constexpr std::uint8_t kClose = 0x5B;

QString ImagePath(const frmWriteISO& window) {
    return Control<QLineEdit>(&window, "txtISO")->text();
}
}  // namespace

class WriteIsoTest : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        IsolatedProgramFolders::Reset();
        m_folders = std::make_unique<WindowTestFolders>();
        m_drives = std::make_unique<VirtualDriveSession>();
        m_main = std::make_unique<FakeMainWindow>(m_drives->Id());
        m_boxes = std::make_unique<MessageBoxRecorder>();
        m_image = m_folders->Folder().File("My Image.ISO");
        WriteTestImage(m_image, 40);
    }
    void cleanup() {
        ModFileDlg::SetDialogHandler({});
        m_boxes.reset();
        m_main.reset();
        m_drives.reset();
        m_folders.reset();
    }

    void recordsTheImageChosenInTheDialogAndKeepsIt() {
        m_drives->Insert(MediumKind::CdR);
        std::vector<ModFileDlg::Request> asked;
        ModFileDlg::SetDialogHandler([&](const ModFileDlg::Request& request) {
            asked.push_back(request);
            return QString::fromStdString(m_image);
        });
        QPointer<frmWriteISO> window = frmWriteISO::OpenImage();
        QTest::mouseClick(Control<QPushButton>(window, "cmdBrowse"), Qt::LeftButton);
        // The path keeps its spelling; the dialog starts in the home folder.
        QCOMPARE(ImagePath(*window), QString::fromStdString(m_image));
        QCOMPARE(asked.at(0).title, QString::fromUtf8("打开一个已存在的*.ISO文件"));
        QCOMPARE(asked.at(0).pattern, QStringLiteral("*.ISO"));
        QVERIFY(!asked.at(0).save);
        QCOMPARE(asked.at(0).folder, QDir::homePath());
        QCOMPARE(RunBurn(*window), BurnOutcome::Completed);
        QCOMPARE(m_boxes->shown.back().text, QString::fromUtf8("刻录完成!"));
        QCOMPARE(m_boxes->shown.back().icon, MessageIcon::Information);
        QVERIFY(DiscHoldsImage(m_drives->Drive(), m_image));
        QVERIFY(std::filesystem::exists(m_image));
        // The task is over: back to the main window; the next dialog starts here.
        QTRY_VERIFY(window.isNull());
        QVERIFY(m_main->widget.isVisible());
        QTest::mouseClick(Control<QPushButton>(frmWriteISO::OpenImage(), "cmdBrowse"),
                          Qt::LeftButton);
        QCOMPARE(asked.at(1).folder, QString::fromStdString(m_folders->Folder().Path().string()));
    }

    // Only a user's image may be replaced: a temporary image is deleted when
    // the window closes, so no other file may take its place.
    void onlyTheRecordImageTaskTakesAnotherImage_data() {
        QTest::addColumn<int>("task");
        QTest::newRow("record an image") << int(RecordingTask::kRecordImage);
        QTest::newRow("data disc") << int(RecordingTask::kDataDisc);
        QTest::newRow("disc copy") << int(RecordingTask::kCopyDisc);
    }
    void onlyTheRecordImageTaskTakesAnotherImage() {
        QFETCH(int, task);
        const bool open = task == RecordingTask::kRecordImage;
        SaveProgramSetting("TempISO", "/cache/tempiso.iso");
        frmWriteISO window(task, open ? QStringLiteral("/discs/old.iso") : QString());
        const QString before = ImagePath(window);
        QCOMPARE(Control<QLineEdit>(&window, "txtISO")->isEnabled(), open);
        QCOMPARE(Control<QPushButton>(&window, "cmdBrowse")->isEnabled(), open);
        QCOMPARE(window.acceptDrops(), open);
        DropLocalFiles(&window, {"/discs/A.ISO", "/discs/b.iso"});
        const QString dropped = open ? QStringLiteral("/discs/b.iso") : before;
        QCOMPARE(ImagePath(window), dropped);
        DropLocalFiles(&window, {"/discs/notes.txt"});
        QCOMPARE(ImagePath(window), dropped);
    }

    void burnFollowsTheMedium_data() {
        QTest::addColumn<bool>("mediaEvents");
        QTest::newRow("media events") << true;
        QTest::newRow("no media events") << false;
    }
    void burnFollowsTheMedium() {
        QFETCH(bool, mediaEvents);
        m_drives->Drive().Faults().noMediaEvents = !mediaEvents;
        frmWriteISO window(RecordingTask::kRecordImage, QString::fromStdString(m_image));
        auto* burn = Control<QPushButton>(&window, "CmdBurn");
        auto* speeds = Control<QComboBox>(&window, "cboWriteSpeed");
        QVERIFY(!burn->isEnabled());
        QCOMPARE(speeds->count(), 0);
        m_drives->Insert(MediumKind::CdR);
        QTRY_VERIFY_WITH_TIMEOUT(burn->isEnabled(), 1000);
        QCOMPARE(speeds->itemText(0), QStringLiteral("48x"));
        const std::size_t probes = m_drives->Count(kSetCdSpeed);
        window.Timer1Tick();
        QCOMPARE(m_drives->Count(kSetCdSpeed), probes);  // once per medium
        QCOMPARE(m_drives->Drive().RemoveMedium(), std::string());
        QTRY_VERIFY_WITH_TIMEOUT(!burn->isEnabled(), 1000);
        QCOMPARE(speeds->count(), 0);
    }

    void testModeLeavesACdRBlankAndIsOffForMediaThatCannotSimulate() {
        m_drives->Insert(MediumKind::CdR);
        frmWriteISO window(RecordingTask::kRecordImage, QString::fromStdString(m_image));
        auto* testMode = Control<QCheckBox>(&window, "chkTestMode");
        QVERIFY(testMode->isEnabled());
        testMode->setChecked(true);
        QCOMPARE(RunBurn(window), BurnOutcome::Completed);
        QCOMPARE(m_drives->Drive().Media().State(), DiscState::Blank);
        QVERIFY(window.isVisible());  // the real recording can follow
        m_drives->Insert(MediumKind::DvdPlusRw);
        window.Timer1Tick();
        QVERIFY(!testMode->isEnabled());
        QVERIFY(!testMode->isChecked());
    }

    // The checks made before the disc is touched, and the refused close that
    // DVD+RW does not need, each shown as its message.
    void safetyChecksAreShownAsMessages_data() {
        QTest::addColumn<QString>("image");  // "iso", "not an image" or "too big"
        QTest::addColumn<int>("medium");
        QTest::addColumn<bool>("switchToDvdPlusRw");  // between the test-mode tick and Burn
        QTest::addColumn<bool>("refuseClose");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("outcome");  // -1: no recording started
        const int cdR = int(MediumKind::CdR), dvdPlusRw = int(MediumKind::DvdPlusRw);
        const QString notAnImage = QString::fromUtf8("不是光盘映像");
        QTest::newRow("not an image, declined")
            << "not an image" << cdR << false << false << notAnImage << -1;
        QTest::newRow("not an image, recorded")
            << "not an image" << cdR << false << false << notAnImage << int(BurnOutcome::Completed);
        QTest::newRow("too big") << "too big" << cdR << false << false
                                 << QString::fromUtf8("但光碟只有") << int(BurnOutcome::Refused);
        QTest::newRow("test mode on DVD+RW")
            << "iso" << cdR << true << false << QString::fromUtf8("光碟不能进行测试刻录")
            << int(BurnOutcome::Refused);
        QTest::newRow("refused close on DVD+RW")
            << "iso" << dvdPlusRw << false << true << QString::fromUtf8("这种光碟不需要关闭")
            << int(BurnOutcome::Completed);
    }
    void safetyChecksAreShownAsMessages() {
        QFETCH(QString, image);
        QFETCH(int, medium);
        QFETCH(bool, switchToDvdPlusRw);
        QFETCH(bool, refuseClose);
        QFETCH(QString, shown);
        QFETCH(int, outcome);
        if (image == "not an image") WriteFile(m_image, std::string(40 * 2048, 'a'));
        if (image == "too big") std::filesystem::resize_file(m_image, 900LL << 20);
        m_drives->Insert(static_cast<MediumKind>(medium));
        if (refuseClose) m_drives->Drive().Faults().failures.push_back({kClose, 0, 2, 5, 0x2C, 0});
        m_boxes->QueueAnswer(outcome < 0 ? MessageAnswer::No : MessageAnswer::Yes);
        QPointer<frmWriteISO> window = frmWriteISO::OpenImage(QString::fromStdString(m_image));
        window->Timer1Tick();
        if (switchToDvdPlusRw) {
            Control<QCheckBox>(window, "chkTestMode")->setChecked(true);
            m_drives->Insert(MediumKind::DvdPlusRw);
        }
        if (outcome < 0) {
            QTest::mouseClick(Control<QPushButton>(window, "CmdBurn"), Qt::LeftButton);
            QVERIFY(!window->Recording() && !window->LastOutcome());
        } else {
            QCOMPARE(RunBurn(*window), static_cast<BurnOutcome>(outcome));
        }
        QVERIFY(!m_boxes->shown.empty());
        QVERIFY2(m_boxes->shown.front().text.contains(shown) ||
                     m_boxes->shown.front().title.contains(shown),
                 qPrintable(m_boxes->shown.front().text));
        const bool written = outcome == int(BurnOutcome::Completed);
        QCOMPARE(m_drives->Count(kWrite10) > 0, written);
        if (written) QVERIFY(DiscHoldsImage(m_drives->Drive(), m_image));
        if (window != nullptr) window->close();
    }

    void aWriteErrorIsShownAndTheUsersImageStays() {
        m_drives->Insert(MediumKind::CdR);
        m_drives->Drive().Faults().failures.push_back({kWrite10, 1, 1, 0x03, 0x0C, 0x00});
        const std::string before = ReadFile(m_image);
        frmWriteISO window(RecordingTask::kRecordImage, QString::fromStdString(m_image));
        QCOMPARE(RunBurn(window), BurnOutcome::Failed);
        QCOMPARE(m_boxes->shown.back().text, QString::fromUtf8("刻录出错 (Buffer Under-Run?)"));
        QCOMPARE(m_boxes->shown.back().title, QString::fromUtf8("错误"));
        QCOMPARE(Control<QLabel>(&window, "Panels(1)")->text(), QStringLiteral("error"));
        QCOMPARE(ReadFile(m_image), before);
        QVERIFY(window.isVisible());
    }

    // Unticked at first, then as the user left it; ticked, it reads the disc back.
    void theVerifyBoxIsRememberedAndFindsACorruptBlock() {
        m_drives->Insert(MediumKind::CdR);
        m_drives->Drive().Faults().corruptBlocks = {20};
        {
            frmWriteISO first(RecordingTask::kRecordImage, QString::fromStdString(m_image));
            auto* verify = Control<QCheckBox>(&first, "chkVerify");
            QVERIFY(!verify->isChecked());
            verify->setChecked(true);
        }
        frmWriteISO window(RecordingTask::kRecordImage, QString::fromStdString(m_image));
        QVERIFY(Control<QCheckBox>(&window, "chkVerify")->isChecked());
        QCOMPARE(RunBurn(window), BurnOutcome::CompletedWithErrors);
        QCOMPARE(m_boxes->shown.back().text,
                 QString::fromUtf8("校验失败：1 个区块与写入的数据不同，第一个是区块 20。"));
    }

    void closingDuringARecordingAsksAndStopsOnlyWhenTold_data() {
        QTest::addColumn<bool>("stop");
        QTest::newRow("go on") << false;
        QTest::newRow("stop") << true;
    }
    void closingDuringARecordingAsksAndStopsOnlyWhenTold() {
        QFETCH(bool, stop);
        m_drives->Insert(MediumKind::CdR);
        QPointer<frmWriteISO> window = frmWriteISO::OpenImage(QString::fromStdString(m_image));
        // A refused speed holds the recording at its warning: the user closes then.
        m_drives->Drive().Faults().failures.push_back({kSetCdSpeed, 0, 1, 0x05, 0x24, 0x00});
        m_boxes->QueueAnswer(stop ? MessageAnswer::Yes : MessageAnswer::No);
        m_boxes->OnShow([&](const MessageBoxRequest& box) {
            if (box.text.startsWith(QStringLiteral("WARNING"))) QVERIFY(!window->close());
        });
        const std::optional<BurnOutcome> outcome = RunBurn(*window);
        QCOMPARE(m_boxes->shown.at(1).text, QString::fromUtf8("正在刻录。要停止刻录并关闭窗口吗？"
                                                              "中途停止的光碟可能无法再使用。"));
        QCOMPARE(outcome, stop ? BurnOutcome::Cancelled : BurnOutcome::Completed);
        QCOMPARE(m_drives->Drive().Media().State(), stop ? DiscState::Blank : DiscState::Complete);
        if (!stop) QVERIFY(DiscHoldsImage(m_drives->Drive(), m_image));
        QTRY_VERIFY(window.isNull());
    }

  private:
    // Presses Burn (enabled by the timer) and waits for the end; the window
    // may be gone afterwards.
    std::optional<BurnOutcome> RunBurn(frmWriteISO& window) {
        window.show();
        window.Timer1Tick();
        auto* burn = Control<QPushButton>(&window, "CmdBurn");
        std::optional<BurnOutcome> outcome;
        connect(&window, &frmWriteISO::burnFinished, this, [&] { outcome = window.LastOutcome(); });
        QSignalSpy finished(&window, &frmWriteISO::burnFinished);
        QTest::mouseClick(burn, Qt::LeftButton);
        if (!finished.wait(20000)) qFatal("the recording did not end");
        return outcome;
    }

    std::unique_ptr<WindowTestFolders> m_folders;
    std::unique_ptr<VirtualDriveSession> m_drives;
    std::unique_ptr<FakeMainWindow> m_main;
    std::unique_ptr<MessageBoxRecorder> m_boxes;
    std::string m_image;
};

QTEST_MAIN(WriteIsoTest)
#include "tst_frmWriteISO.moc"
