// The recording windows on the virtual drive. The record-image window: a
// user's image chosen in the dialog or dropped (never in place of a temporary
// image), recorded and read back; Burn and the speeds following the medium;
// a file that is no image asked about, a truncated one refused; a failing
// recording; the verify box (closing and Cancel during a recording:
// tst_RecordingSafety). The disc copy window: a disc copied into an .ISO file
// and onto a second blank disc through the record-image window, each read
// back with cmp, or onto a blank in another drive while it is read; Cancel
// or a close while reading. The engine's own refusals are the core and cli
// tests'.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "JobLog.h"
#include "ModFileDlg.h"
#include "RecordingTask.h"
#include "SettingsStore.h"
#include "Sleeper.h"
#include "TestDiscImages.h"
#include "WindowTestRig.h"
#include "frmSaveISO2.h"
#include "frmWriteISO.h"

namespace {
constexpr std::uint8_t kWrite10 = 0x2A;
constexpr std::uint8_t kSetCdSpeed = 0xBB;
constexpr std::uint8_t kSendCueSheet = 0x5D;

QString ImagePath(const frmWriteISO& window) {
    return Control<QLineEdit>(&window, "txtISO")->text();
}
}  // namespace

class RecordingWindowsTest : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        m_rig = std::make_unique<WindowTestRig>();
        m_image = m_rig->folders.Folder().File("My Image.ISO");
        WriteTestImage(m_image, 40);
    }
    void cleanup() {
        ModFileDlg::SetDialogHandler({});
        m_rig.reset();
    }

    void recordsTheImageChosenInTheDialogAndKeepsIt() {
        m_rig->drives.Insert(MediumKind::CdR);
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
        QCOMPARE(asked.at(0).pattern, QStringLiteral("*.ISO *.CUE"));
        QVERIFY(!asked.at(0).save);
        QCOMPARE(asked.at(0).folder, QDir::homePath());
        QCOMPARE(RunBurn(*window), BurnOutcome::Completed);
        QCOMPARE(m_rig->boxes.shown.back().text, QString::fromUtf8("刻录完成!"));
        QVERIFY(DiscHoldsImage(m_rig->drives.Drive(), m_image));
        QVERIFY(std::filesystem::exists(m_image));
        // The job's log: the window, its WRITE(10) commands and its message.
        const std::string log = ReadFile(JobLog::LogPath());
        QVERIFY2(log.starts_with("job: frmWriteISO\n"), log.substr(0, 200).c_str());
        QVERIFY(log.find(m_rig->drives.Id() + ": 2A ") != std::string::npos);
        QVERIFY(log.find("信息: 刻录完成!\n") != std::string::npos);
        // The task is over: back to the main window; the next dialog starts here.
        QTRY_VERIFY(window.isNull());
        QVERIFY(m_rig->main.widget.isVisible());
        QTest::mouseClick(Control<QPushButton>(frmWriteISO::OpenImage(), "cmdBrowse"),
                          Qt::LeftButton);
        QCOMPARE(QDir::fromNativeSeparators(asked.at(1).folder),
                 QDir::fromNativeSeparators(
                     QString::fromStdString(m_rig->folders.Folder().Path().string())));
    }

    // A cue sheet dropped on the window is recorded as the disc it describes:
    // an audio sheet Disc-At-Once (one cue sheet sent to the drive), read back.
    void recordsADroppedCueSheetAsItsDisc() {
        const std::string sound = m_rig->drives.File("album.bin");
        std::string samples(900 * 2352, '\0');
        for (std::size_t at = 0; at < samples.size(); ++at)
            samples[at] = static_cast<char>(at % 251);
        WriteFile(sound, samples);
        const std::string sheet = m_rig->drives.File("album.cue");
        WriteFile(sheet,
                  "FILE \"album.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
                  "  TRACK 02 AUDIO\n    INDEX 00 00:05:00\n    INDEX 01 00:06:00\n");
        m_rig->drives.Insert(MediumKind::CdR);
        QPointer<frmWriteISO> window = frmWriteISO::OpenImage();
        Control<QCheckBox>(window, "chkVerify")->setChecked(true);
        DropLocalFiles(window, {sheet});
        QCOMPARE(QDir::fromNativeSeparators(ImagePath(*window)),
                 QDir::fromNativeSeparators(QString::fromStdString(sheet)));
        QCOMPARE(RunBurn(*window), BurnOutcome::Completed);
        QCOMPARE(m_rig->drives.Count(kSendCueSheet), 1u);
        QVERIFY2(m_rig->boxes.shown.back().text.contains(QStringLiteral("900")),
                 qPrintable(m_rig->boxes.shown.back().text));
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

    // Burn and the speeds follow the medium; the speeds are read once per
    // medium. (A test run is tst_frmSaveISO's, test mode tst_RecordingSafety's.)
    void burnAndSpeedsFollowTheMedium() {
        frmWriteISO window(RecordingTask::kRecordImage, QString::fromStdString(m_image));
        auto* burn = Control<QPushButton>(&window, "CmdBurn");
        auto* speeds = Control<QComboBox>(&window, "cboWriteSpeed");
        QVERIFY(!burn->isEnabled());
        QCOMPARE(speeds->count(), 0);
        QVERIFY(Control<QTimer>(&window, "Timer1")->isActive());  // it ticks as below
        m_rig->drives.Insert(MediumKind::CdR);
        window.Timer1Tick();
        QVERIFY(burn->isEnabled());
        QCOMPARE(speeds->itemText(0), QStringLiteral("48x"));
        const std::size_t probes = m_rig->drives.Count(kSetCdSpeed);
        window.Timer1Tick();
        QCOMPARE(m_rig->drives.Count(kSetCdSpeed), probes);
        QCOMPARE(m_rig->drives.Drive().RemoveMedium(), std::string());
        window.Timer1Tick();
        QVERIFY(!burn->isEnabled());
        QCOMPARE(speeds->count(), 0);
        m_rig->drives.Insert(MediumKind::DvdPlusRw);
        window.Timer1Tick();
        QVERIFY(burn->isEnabled());
        QCOMPARE(speeds->itemText(0), QStringLiteral("16x"));
    }

    // A file that is no disc image: recorded only when the user says Yes.
    void aFileThatIsNoImageIsRecordedOnlyWhenTheUserSaysSo_data() {
        QTest::addColumn<bool>("record");
        QTest::newRow("No") << false;
        QTest::newRow("Yes") << true;
    }
    void aFileThatIsNoImageIsRecordedOnlyWhenTheUserSaysSo() {
        QFETCH(bool, record);
        WriteFile(m_image, std::string(40 * 2048, 'a'));
        m_rig->drives.Insert(MediumKind::CdR);
        m_rig->boxes.QueueAnswer(record ? MessageAnswer::Yes : MessageAnswer::No);
        QPointer<frmWriteISO> window = frmWriteISO::OpenImage(QString::fromStdString(m_image));
        if (record)
            QCOMPARE(RunBurn(*window), BurnOutcome::Completed);
        else
            QTest::mouseClick(Control<QPushButton>(window, "CmdBurn"), Qt::LeftButton);
        QCOMPARE(m_rig->boxes.shown.front().title, QString::fromUtf8("不是光盘映像"));
        QCOMPARE(m_rig->drives.Count(kWrite10) > 0, record);
        QVERIFY(!record || DiscHoldsImage(m_rig->drives.Drive(), m_image));
    }

    // An image shorter than the volume it declares is refused with both sizes.
    void aTruncatedImageIsRefusedBeforeTheDiscIsTouched() {
        WriteFile(m_image, ReadFile(m_image).substr(0, 20 * 2048));
        m_rig->drives.Insert(MediumKind::CdR);
        frmWriteISO window(RecordingTask::kRecordImage, QString::fromStdString(m_image));
        QCOMPARE(RunBurn(window), BurnOutcome::Refused);
        QVERIFY(m_rig->boxes.shown.back().text.endsWith(
            QString::fromUtf8("的卷需要 81920 字节，但文件只有 40960 字节。")));
        QCOMPARE(m_rig->drives.Count(kWrite10), 0u);
    }

    // A write error is shown with the drive's cause and what the disc holds
    // now, and the user's image stays. The verify box is unticked at first,
    // then as the user left it; ticked, it reads the disc back.
    void aWriteErrorThenAVerifiedRecording() {
        m_rig->drives.Insert(MediumKind::CdR);
        m_rig->drives.Drive().Faults().failures.push_back({kWrite10, 1, 1, 0x03, 0x0C, 0x00});
        const std::string before = ReadFile(m_image);
        {
            frmWriteISO window(RecordingTask::kRecordImage, QString::fromStdString(m_image));
            auto* verify = Control<QCheckBox>(&window, "chkVerify");
            QVERIFY(!verify->isChecked());
            QCOMPARE(RunBurn(window), BurnOutcome::Failed);
            QCOMPARE(m_rig->boxes.shown.back().text,
                     QString::fromUtf8("刻录出错 (Buffer Under-Run?)\n"
                                       "光碟机报告的原因：写入错误（03/0C/00）。\n"
                                       "光碟现在已封闭：第 1 条轨道只有 302 个区块，数据不完整，"
                                       "光碟不能再写入。这张一次性写入的光碟已无法再使用。"));
            QCOMPARE(m_rig->boxes.shown.back().title, QString::fromUtf8("错误"));
            QCOMPARE(Control<QLabel>(&window, "Panels(1)")->text(), QStringLiteral("error"));
            QCOMPARE(ReadFile(m_image), before);
            QVERIFY(window.isVisible());
            verify->setChecked(true);
        }
        m_rig->drives.Insert(MediumKind::CdR);
        m_rig->drives.Drive().Faults().corruptBlocks = {20};
        frmWriteISO window(RecordingTask::kRecordImage, QString::fromStdString(m_image));
        QVERIFY(Control<QCheckBox>(&window, "chkVerify")->isChecked());
        QCOMPARE(RunBurn(window), BurnOutcome::CompletedWithErrors);
        QCOMPARE(m_rig->boxes.shown.back().text,
                 QString::fromUtf8("校验失败：1 组区块（每组最多 32 个）与写入的数据不同，"
                                   "第一组从区块 0 开始。"));
    }

    // Several recorders: the current drive is ticked; each ticked one records
    // the image at once, and one box names each drive's outcome.
    void recordsTheImageOnEveryTickedDrive() {
        m_rig.reset();
        m_rig = std::make_unique<WindowTestRig>(3);
        m_image = m_rig->folders.Folder().File("My Image.ISO");
        WriteTestImage(m_image, 40);
        m_rig->drives.Insert(MediumKind::CdR, 0, 0);
        m_rig->drives.Insert(MediumKind::CdR, 0, 1);
        m_rig->drives.Insert(MediumKind::CdR, 8, 2);  // not blank: refused
        frmWriteISO window(RecordingTask::kRecordImage, QString::fromStdString(m_image));
        auto* list = Control<QListWidget>(&window, "lstDrives");
        QVERIFY(!list->isHidden());
        QCOMPARE(list->count(), 3);
        QCOMPARE(list->item(0)->checkState(), Qt::Checked);
        QCOMPARE(list->item(1)->checkState(), Qt::Unchecked);
        list->item(1)->setCheckState(Qt::Checked);
        list->item(2)->setCheckState(Qt::Checked);
        QCOMPARE(RunBurn(window), BurnOutcome::Failed);
        const MessageBoxRequest& summary = m_rig->boxes.shown.back();
        QCOMPARE(summary.title, QString::fromUtf8("刻录结果"));
        QCOMPARE(summary.text, list->item(0)->text() + QString::fromUtf8("：刻录完成\n") +
                                   list->item(1)->text() + QString::fromUtf8("：刻录完成\n") +
                                   list->item(2)->text() +
                                   QString::fromUtf8("：未刻录（检查未通过）"));
        QVERIFY(DiscHoldsImage(m_rig->drives.Drive(0), m_image));
        QVERIFY(DiscHoldsImage(m_rig->drives.Drive(1), m_image));
    }

    void copiesTheDiscIntoAnIsoFileNamedInTheDialog() {
        InsertSourceDisc();
        std::vector<ModFileDlg::Request> asked;
        ModFileDlg::SetDialogHandler([&](const ModFileDlg::Request& request) {
            asked.push_back(request);
            return QString::fromStdString(m_rig->folders.Folder().File("Backup"));
        });
        QPointer<frmSaveISO2> window = new frmSaveISO2();
        Control<QCheckBox>(window, "chkCreateISOonly")->setChecked(true);
        QCOMPARE(RunNext(*window), CopyOutcome::ImageSaved);
        QCOMPARE(asked.at(0).title, QString::fromUtf8("请输入要保存的*.ISO文件名:"));
        QVERIFY(asked.at(0).save);
        // The extension is added; the file equals the disc over its length.
        QCOMPARE(ReadFile(m_rig->folders.Folder().File("Backup.iso")), ReadFile(m_image));
        QCOMPARE(m_rig->boxes.shown.back().text,
                 QString::fromUtf8("ISO文件创建成功!\n0 个无法读取的区块以零填充。"));
        QTRY_VERIFY(window.isNull());
        QVERIFY(m_rig->main.widget.isVisible());
    }

    void copiesTheDiscOntoABlankThroughTheRecordingWindow() {
        InsertSourceDisc();
        m_rig->boxes.OnShow([this](const MessageBoxRequest& box) {
            if (box.text == QString::fromUtf8("请放入一张空白光碟片,并点击确定继续"))
                m_rig->drives.Insert(MediumKind::CdR);
        });
        QPointer<frmSaveISO2> window = new frmSaveISO2();
        QCOMPARE(RunNext(*window), CopyOutcome::ReadyToRecord);
        QPointer<frmWriteISO> recorder = VisibleWindow<frmWriteISO>();
        QVERIFY(recorder != nullptr);
        QVERIFY(window->isHidden());
        const std::string temporary = GetProgramSetting("TempISO");
        QCOMPARE(Control<QLineEdit>(recorder, "txtISO")->text(), QString::fromStdString(temporary));
        QCOMPARE(RunBurn(*recorder), BurnOutcome::Completed);
        QCOMPARE(m_rig->boxes.shown.back().text, QString::fromUtf8("刻录完成!"));
        QVERIFY(DiscHoldsImage(m_rig->drives.Drive(), m_image));
        QVERIFY(!std::filesystem::exists(temporary));
        QTRY_VERIFY(recorder.isNull() && window.isNull());
        QVERIFY(m_rig->main.widget.isVisible());
    }

    // Another drive chosen as the target: Next hands the copy to the
    // record-image window, which shows it as its source and comes back on
    // Back; Burn records the disc there while it is read, with its options
    // (verify), no temporary image, and the task ends.
    void copiesTheDiscOntoABlankInAnotherDriveThroughTheRecordingWindow() {
        TwoDrivesWithASourceAndABlank();
        QPointer<frmSaveISO2> window = new frmSaveISO2();
        auto* target = Control<QComboBox>(window, "cboTarget");
        QCOMPARE(target->count(), 2);
        QCOMPARE(target->itemText(0), QString::fromUtf8("同一台光碟机（读完后换入空白光盘）"));
        target->setCurrentIndex(1);
        QVERIFY(!Control<QCheckBox>(window, "chkCreateISOonly")->isEnabled());
        QPointer<frmWriteISO> recorder = HandOver(*window);
        const QString source = Control<QLineEdit>(recorder, "txtISO")->text();
        QVERIFY2(source.startsWith(QString::fromUtf8("光盘复制(从光碟机 ")) &&
                     source.endsWith(QString::fromUtf8(" 直接刻录,不生成临时映像)")) &&
                     source.size() > 30,
                 qPrintable(source));
        QVERIFY(!Control<QLineEdit>(recorder, "txtISO")->isEnabled());
        QVERIFY(!Control<QPushButton>(recorder, "CmdTools")->isEnabled());  // the source's
        QTest::mouseClick(Control<QPushButton>(recorder, "cmdBack"), Qt::LeftButton);
        QTRY_VERIFY(recorder.isNull());
        QVERIFY(window->isVisible());
        recorder = HandOver(*window);
        Control<QCheckBox>(recorder, "chkVerify")->setChecked(true);
        QCOMPARE(RunBurn(*recorder), BurnOutcome::Completed);
        const QString end = m_rig->boxes.shown.back().text;
        QVERIFY2(end.startsWith(QString::fromUtf8("刻录完成!\n校验通过：")), qPrintable(end));
        QVERIFY(DiscHoldsImage(m_rig->drives.Drive(1), m_image));
        QVERIFY(!std::filesystem::exists(IsolatedProgramFolders::TempImage()));
        QTRY_VERIFY(recorder.isNull() && window.isNull());
        QVERIFY(m_rig->main.widget.isVisible());
    }

    // BadCopy: the zero-filled sectors are told in a box of their own, after
    // the recording's end box and before the windows close.
    void aTwoDriveCopyTellsItsZeroFilledSectors() {
        TwoDrivesWithASourceAndABlank();
        m_rig->drives.Drive().Faults().unreadable.push_back({30, 30});
        SetSleepHandler([](int) {});
        QPointer<frmSaveISO2> window = new frmSaveISO2();
        Control<QCheckBox>(window, "ChkBadCopy")->setChecked(true);
        Control<QComboBox>(window, "cboTarget")->setCurrentIndex(1);
        QPointer<frmWriteISO> recorder = HandOver(*window);
        QCOMPARE(RunBurn(*recorder), BurnOutcome::Completed);
        SetSleepHandler({});
        const QString last = m_rig->boxes.shown.back().text;
        QVERIFY2(last.startsWith(QString::fromUtf8("1 个无法读取的区块以零填充。")),
                 qPrintable(last));
        QTRY_VERIFY(recorder.isNull() && window.isNull());
    }

    void copyCancelOrCloseStopsTheReadingAndKeepsNoImage_data() {
        QTest::addColumn<bool>("close");
        QTest::newRow("Cancel") << false;
        QTest::newRow("close, without a question") << true;
    }
    void copyCancelOrCloseStopsTheReadingAndKeepsNoImage() {
        QFETCH(bool, close);
        InsertSourceDisc();
        QPointer<frmSaveISO2> window = new frmSaveISO2();
        // A refused read speed holds the copy at its warning: the user stops it then.
        m_rig->drives.Drive().Faults().failures.push_back({kSetCdSpeed, 0, 1, 0x05, 0x24, 0x00});
        m_rig->boxes.OnShow([&](const MessageBoxRequest& box) {
            if (!box.text.startsWith(QStringLiteral("WARNING"))) return;
            if (close)
                QVERIFY(!window->close());
            else
                QTest::mouseClick(Control<QPushButton>(window, "cmdCancel"), Qt::LeftButton);
        });
        QCOMPARE(RunNext(*window), CopyOutcome::Cancelled);
        QVERIFY(!std::filesystem::exists(IsolatedProgramFolders::TempImage()));
        QCOMPARE(m_rig->boxes.shown.size(), std::size_t(2));  // the warning and the stop
        if (close) {
            QTRY_VERIFY(window.isNull());
            QVERIFY(m_rig->main.widget.isVisible());
            return;
        }
        QVERIFY(window->isVisible());
        QVERIFY(Control<QCheckBox>(window, "ChkBadCopy")->isEnabled());
        delete window;
    }

  private:
    // Presses Next (enabled by the timer) and waits for the end; the window
    // may be gone or hidden afterwards.
    static std::optional<CopyOutcome> RunNext(frmSaveISO2& window) {
        window.show();
        window.Timer1Tick();
        return ClickAndWait(window, "cmdNext", &frmSaveISO2::copyFinished);
    }

    // Next with another drive chosen: the record-image window takes over.
    static QPointer<frmWriteISO> HandOver(frmSaveISO2& window) {
        window.show();
        window.Timer1Tick();
        QTest::mouseClick(Control<QPushButton>(&window, "cmdNext"), Qt::LeftButton);
        QPointer<frmWriteISO> recorder = VisibleWindow<frmWriteISO>();
        if (recorder == nullptr || !window.isHidden()) return nullptr;
        recorder->Timer1Tick();
        return recorder;
    }

    // Drive 1 holds a written CD-R, drive 2 a blank one.
    void TwoDrivesWithASourceAndABlank() {
        m_rig.reset();
        m_rig = std::make_unique<WindowTestRig>(2);
        m_image = m_rig->folders.Folder().File("My Image.ISO");
        WriteTestImage(m_image, 40);
        InsertSourceDisc();
        m_rig->drives.Insert(MediumKind::CdR, 0, 1);
    }

    void InsertSourceDisc() {
        QCOMPARE(m_rig->drives.Drive().InsertImage(MediumKind::CdR, m_image), std::string());
    }

    std::unique_ptr<WindowTestRig> m_rig;
    std::string m_image;
};

QTEST_MAIN(RecordingWindowsTest)
#include "tst_RecordingWindows.moc"
