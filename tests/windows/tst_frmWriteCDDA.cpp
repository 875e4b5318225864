// The audio CD window on the virtual drive: building the track list, a
// recording in list order read back with sox, a stop, a refusal shown, and
// the Burn button following the medium. The conversion, the formats and
// every refusal are proved by the engine tests and the cli_audio_* scripts.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <filesystem>

#include "CdTextPacks.h"
#include "DriveBusy.h"
#include "EngineRunner.h"
#include "TrackListView.h"
#include "WindowTestRig.h"
#include "frmWriteCDDA.h"

namespace {
constexpr std::uint8_t kWrite10 = 0x2A;
const QString kUnsupported = QString::fromUtf8("不支持的文件类型!");

bool Sox(const QStringList& arguments) {
    return RunTool(QStringLiteral("sox"), arguments);
}

// The samples of a WAV file as sox reads them.
std::string Samples(const QString& wav, const TempFolder& folder) {
    const QString raw = QString::fromStdString(folder.File("samples.raw"));
    return Sox({wav, "-t", "raw", raw}) ? ReadFile(raw.toStdString()) : std::string();
}

QStringList RowTexts(const frmWriteCDDA& window, int column) {
    QStringList texts;
    auto* list = Control<TrackListView>(&window, "lvwFiles");
    for (int row = 0; row < list->topLevelItemCount(); ++row)
        texts << list->topLevelItem(row)->text(column);
    return texts;
}

QString Panel(const frmWriteCDDA& window, int number) {
    return Control<QLabel>(&window, QStringLiteral("Panels(%1)").arg(number))->text();
}

// Drags `data` into the list and drops it at the top of row `row` (the end
// for the row count).
void Drop(frmWriteCDDA& window, QMimeData* data, int row = 0) {
    auto* list = Control<TrackListView>(&window, "lvwFiles");
    const QPoint at = row < list->topLevelItemCount()
                          ? list->visualItemRect(list->topLevelItem(row)).topLeft() + QPoint(4, 1)
                          : QPoint(4, list->viewport()->height() - 2);
    QDragEnterEvent enter(at, Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(list->viewport(), &enter);
    QDropEvent drop(at, Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(list->viewport(), &drop);
    delete data;
}

void DropFiles(frmWriteCDDA& window, const QStringList& paths) {
    auto* data = new QMimeData();
    QList<QUrl> urls;
    for (const QString& path : paths) urls << QUrl::fromLocalFile(path);
    data->setUrls(urls);
    Drop(window, data);
}

// Drags the selected rows of the list in front of row `before`.
void DragSelectedRows(frmWriteCDDA& window, int before) {
    auto* list = Control<TrackListView>(&window, "lvwFiles");
    Drop(window, list->model()->mimeData(list->selectionModel()->selectedRows()), before);
}

void Select(frmWriteCDDA& window, const QList<int>& rows) {
    auto* list = Control<TrackListView>(&window, "lvwFiles");
    list->clearSelection();
    for (int row : rows) list->topLevelItem(row)->setSelected(true);
    list->setCurrentItem(list->topLevelItem(rows.first()), 0, QItemSelectionModel::NoUpdate);
}
}  // namespace

class WriteCddaTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        m_files = std::make_unique<TempFolder>();
        // A 3,725 s and a 59 s file, a CD-DA and a 48 kHz 24-bit file of a few seconds.
        WriteFile(m_files->File("long.u8"), std::string(3725 * 100, '\x80'));
        QVERIFY(Sox({"-t", "u8", "-r", "100", "-c", "1", File("long.u8"), File("long.wav")}));
        QVERIFY(Sox({"-n", "-r", "8000", "-c", "1", "-b", "8", File("minute.WAV"), "synth", "59",
                     "sine", "440"}));
        QVERIFY(Sox({"-n", "-r", "44100", "-c", "2", "-b", "16", File("cd.wav"), "synth", "2",
                     "sine", "440", "gain", "-6"}));
        QVERIFY(Sox({"-n", "-r", "48000", "-c", "2", "-b", "24", File("hd.wav"), "synth", "3",
                     "sine", "1000", "sine", "1500", "gain", "-3"}));
        // The same sound as FLAC, MP3 and Ogg Vorbis, made by their encoders.
        QVERIFY(RunTool("flac", {"-s", "-f", File("cd.wav"), "-o", File("cd.flac")}));
        QVERIFY(RunTool("lame", {"--quiet", File("cd.wav"), File("cd.mp3")}));
        QVERIFY(RunTool("oggenc", {"-Q", File("cd.wav"), "-o", File("cd.ogg")}));
        // A 5 s and a 4 s CD-DA file: long enough for Disc-At-Once.
        QVERIFY(Sox({"-n", "-r", "44100", "-c", "2", "-b", "16", File("five.wav"), "synth", "5",
                     "sine", "330", "gain", "-6"}));
        QVERIFY(Sox({"-n", "-r", "44100", "-c", "2", "-b", "16", File("four.wav"), "synth", "4",
                     "sine", "550", "gain", "-6"}));
        // The same as tagged FLAC files: an album's two tracks.
        QVERIFY(Tagged("five.wav", "five.flac",
                       {"TITLE=Morning", "ARTIST=Ann", "ALBUMARTIST=Maple Duo"}));
        QVERIFY(Tagged("four.wav", "four.flac", {"TITLE=Evening", "ARTIST=Ben"}));
        WriteFile(m_files->File("song.mp3"), "ID3");
        std::filesystem::create_directory(m_files->File("folder.wav"));
    }
    void init() { m_rig = std::make_unique<WindowTestRig>(); }
    void cleanup() { m_rig.reset(); }

    void listFromDrops() {
        frmWriteCDDA window;
        QVERIFY(Control<QCheckBox>(&window, "chkFixDisc")->isChecked());
        QVERIFY(!Control<QCheckBox>(&window, "chkTestMode")->isChecked());
        QVERIFY(Control<QCheckBox>(&window, "chkEjectDisc")->isChecked());
        DropFiles(window,
                  {File("long.wav"), File("minute.WAV"), File("song.mp3"), File("folder.wav")});
        QCOMPARE(RowTexts(window, 0), QStringList({File("long.wav"), File("minute.WAV")}));
        QCOMPARE(RowTexts(window, 1), QStringList({"364 KB", "461 KB"}));
        QCOMPARE(RowTexts(window, 2), QStringList({"01:02:05", "00:00:59"}));
        // One box per refused file; the reasons are AudioTrackListTest's.
        QCOMPARE(m_rig->boxes.shown.size(), std::size_t(2));
        QCOMPARE(m_rig->boxes.shown[0].text,
                 File("song.mp3") + kUnsupported + " (not an MP3 file)");
        QCOMPARE(m_rig->boxes.shown[0].title, QString::fromUtf8("提示"));
        QCOMPARE(Panel(window, 1), QString::fromUtf8("文件添加完成！"));
        QCOMPARE(Panel(window, 2), QStringLiteral("Size: 825 KB"));
        // 3,725 s + 59 s with the pause between them is over an hour.
        QCOMPARE(Panel(window, 4), QStringLiteral("63:06 / 80:00"));
        const auto timeColour = [&] {
            return Control<QLabel>(&window, "Panels(4)")->palette().windowText().color();
        };
        QCOMPARE(timeColour(), window.palette().windowText().color());

        // Five rows are more than 80 minutes; removing rows 2 and 4 keeps 1,
        // 3 and 5, and the totals follow.
        DropFiles(window, {File("cd.wav"), File("long.wav"), File("hd.wav")});
        QCOMPARE(Panel(window, 4), QStringLiteral("125:25 / 80:00"));
        QCOMPARE(timeColour(), QColor(Qt::red));
        Select(window, {1, 3});
        QTest::mouseClick(Control<QPushButton>(&window, "cmdDel"), Qt::LeftButton);
        QCOMPARE(RowTexts(window, 0),
                 QStringList({File("long.wav"), File("cd.wav"), File("hd.wav")}));
        QCOMPARE(Panel(window, 2), QStringLiteral("Size: 1.52 MB"));
        QCOMPARE(timeColour(), window.palette().windowText().color());

        // Dragging the last row to the top; then the first two below the last.
        Select(window, {2});
        DragSelectedRows(window, 0);
        QCOMPARE(RowTexts(window, 0),
                 QStringList({File("hd.wav"), File("long.wav"), File("cd.wav")}));
        Select(window, {0, 1});
        DragSelectedRows(window, 3);
        QCOMPARE(RowTexts(window, 0),
                 QStringList({File("cd.wav"), File("hd.wav"), File("long.wav")}));

        // A rename stays only when it names a file the list takes.
        auto* list = Control<TrackListView>(&window, "lvwFiles");
        Select(window, {2});
        list->topLevelItem(2)->setText(0, File("song.mp3"));  // not a file the list takes
        QCOMPARE(list->topLevelItem(2)->text(0), File("long.wav"));
        list->topLevelItem(2)->setText(0, File("minute.WAV"));
        QCOMPARE(RowTexts(window, 2), QStringList({"00:00:02", "00:00:03", "00:00:59"}));
        QCOMPARE(Panel(window, 4), QStringLiteral("01:11 / 80:00"));

        // New project: empty; then one drop shows that file's sound alone.
        QTest::mouseClick(Control<QPushButton>(&window, "cmdNewPrj"), Qt::LeftButton);
        QCOMPARE(list->topLevelItemCount(), 0);
        DropFiles(window, {File("cd.wav")});
        QCOMPARE(Panel(window, 2), QStringLiteral("Size: 345 KB"));
    }

    void recordsTracksInListOrder() {
        QVERIFY(m_rig->drives.Drive().InsertBlank(MediumKind::CdR).empty());
        QPointer<frmWriteCDDA> window = new frmWriteCDDA();
        window->show();
        DropFiles(*window, {File("cd.wav"), File("hd.wav"), File("cd.flac"), File("cd.mp3"),
                            File("cd.ogg")});
        QCOMPARE(RowTexts(*window, 2),
                 QStringList({"00:00:02", "00:00:03", "00:00:02", "00:00:02", "00:00:02"}));
        Control<QCheckBox>(window, "chkFixDisc")->setChecked(false);
        Control<QCheckBox>(window, "chkEjectDisc")->setChecked(false);
        Select(*window, {1});
        DragSelectedRows(*window, 0);
        QStringList shownAtTheEnd;
        bool lockedWhileRecording = false;
        m_rig->boxes.OnShow([&](const MessageBoxRequest&) {
            lockedWhileRecording = window->Recording() && AnyDriveBusy() &&
                                   !Control<TrackListView>(window, "lvwFiles")->isEnabled() &&
                                   !Control<QPushButton>(window, "cmdNewPrj")->isEnabled() &&
                                   Control<QPushButton>(window, "cmdCancel")->isEnabled();
            shownAtTheEnd = {Control<QLabel>(window, "Label3")->text(),
                             Control<QLabel>(window, "Label2")->text(),
                             QString::number(Control<QProgressBar>(window, "prg")->value())};
        });
        window->UpdateBurnButton();
        QCOMPARE(ClickAndWait(*window, "CmdBurn", &frmWriteCDDA::burnFinished, 60000),
                 AudioBurnOutcome::Completed);
        QCOMPARE(m_rig->boxes.shown.back().text, QString::fromUtf8("刻录完成!"));
        QVERIFY(lockedWhileRecording);
        QCOMPARE(shownAtTheEnd, QStringList({"-   5   of   5   -", "100%", "100"}));
        QTRY_VERIFY(window.isNull());  // a finished recording closes the window
        QVERIFY(m_rig->main.widget.isVisible());
        QCOMPARE(m_rig->drives.Drive().Media().State(), DiscState::Appendable);
        QVERIFY(!m_rig->drives.Drive().TrayOpen());

        // hd.wav, dragged to the top, first; then cd.wav and its FLAC sample
        // for sample, and the lossy copies as tracks of their own (their sound
        // against sox's decoding is cli_audio_burn's).
        const TempFolder out;
        std::vector<std::string> tracks;
        QVERIFY(m_rig->drives.Drive().ExportTracks(out.Path().string(), &tracks).empty());
        QCOMPARE(tracks.size(), std::size_t(6));  // and disc.cue
        const std::string cd = Samples(File("cd.wav"), out);
        QVERIFY(!cd.empty());
        QVERIFY(Samples(QString::fromStdString(tracks[1]), out).starts_with(cd));
        QVERIFY(Samples(QString::fromStdString(tracks[2]), out).starts_with(cd));
        QVERIFY(!Samples(QString::fromStdString(tracks[0]), out).starts_with(cd));
    }

    // The option is remembered; the pause column takes 0 to 10 s in front
    // of the tracks after the first, and the playing time counts them.
    void discAtOnceRecordsTheChosenPauses() {
        QVERIFY(m_rig->drives.Drive().InsertBlank(MediumKind::CdR).empty());
        QPointer<frmWriteCDDA> window = new frmWriteCDDA();
        auto* dao = Control<QCheckBox>(window, "chkDiscAtOnce");
        QVERIFY(!dao->isChecked());
        window->UpdateBurnButton();
        window->AddDroppedFiles({File("five.wav"), File("four.wav")});
        QCOMPARE(RowTexts(*window, 4), QStringList({"", "2"}));
        dao->setChecked(true);
        QCOMPARE(Panel(*window, 4), QStringLiteral("00:11 / 79:57"));
        auto* list = Control<TrackListView>(window, "lvwFiles");
        list->topLevelItem(1)->setText(4, QStringLiteral(" 0 "));
        QCOMPARE(RowTexts(*window, 4), QStringList({"", "0"}));
        QCOMPARE(Panel(*window, 4), QStringLiteral("00:09 / 79:57"));
        list->topLevelItem(1)->setText(4, QStringLiteral("11"));
        QCOMPARE(RowTexts(*window, 4), QStringList({"", "0"}));
        Control<QCheckBox>(window, "chkEjectDisc")->setChecked(false);
        QCOMPARE(ClickAndWait(*window, "CmdBurn", &frmWriteCDDA::burnFinished, 60000),
                 AudioBurnOutcome::Completed);
        // Gapless: track 2 starts where track 1's 5 s end.
        const auto& tracks = m_rig->drives.Drive().Media().tracks;
        QCOMPARE(tracks.size(), std::size_t(2));
        QCOMPARE(tracks[0].length, std::int64_t(375));
        QCOMPARE(tracks[1].start, std::int64_t(375));
        QVERIFY(m_rig->drives.Count(0x5D) == 1);
        QTRY_VERIFY(window.isNull());
        const frmWriteCDDA again;
        QVERIFY(Control<QCheckBox>(&again, "chkDiscAtOnce")->isChecked());
    }

    // Disc-At-Once: titles and performers from the tags, shown and edited;
    // texts that CD-TEXT cannot hold are listed before anything is written,
    // and the disc's CD-TEXT holds the edits.
    void discAtOnceWritesTheTagsAsCdTextWithTheEdits() {
        QVERIFY(m_rig->drives.Drive().InsertBlank(MediumKind::CdR).empty());
        QPointer<frmWriteCDDA> window = new frmWriteCDDA();
        window->show();
        auto* dao = Control<QCheckBox>(window, "chkDiscAtOnce");
        auto* album = Control<QLineEdit>(window, "txtAlbumTitle");
        dao->setChecked(false);
        QVERIFY(!album->isVisible());
        dao->setChecked(true);
        window->AddDroppedFiles({File("five.flac"), File("four.flac")});
        QCOMPARE(RowTexts(*window, 5), QStringList({"Morning", "Evening"}));
        QCOMPARE(RowTexts(*window, 6), QStringList({"Ann", "Ben"}));
        QVERIFY(album->isVisible());
        QCOMPARE(album->text(), QStringLiteral("Quiet Album"));
        QCOMPARE(Control<QLineEdit>(window, "txtAlbumPerformer")->text(),
                 QStringLiteral("Maple Duo"));
        auto* list = Control<TrackListView>(window, "lvwFiles");
        list->topLevelItem(1)->setText(5, QString::fromUtf8("Night 夜"));
        list->topLevelItem(1)->setText(6, QStringLiteral(" Ben Lee "));
        album->setText(QString::fromUtf8("月光 Moon"));
        Control<QCheckBox>(window, "chkEjectDisc")->setChecked(false);
        window->UpdateBurnButton();
        m_rig->boxes.QueueAnswer(MessageAnswer::No);  // back to edit the texts
        window->StartAudioBurn();
        const MessageBoxRequest listed = m_rig->boxes.shown.back();
        QCOMPARE(listed.buttons, MessageButtons::YesNo);
        QVERIFY2(listed.text.contains(QString::fromUtf8("\n    月光 Moon\n    Night 夜\n")),
                 qPrintable(listed.text));
        QVERIFY(!window->Recording());
        QCOMPARE(m_rig->drives.Count(kWrite10), std::size_t(0));
        m_rig->boxes.QueueAnswer(MessageAnswer::Yes);
        QCOMPARE(ClickAndWait(*window, "CmdBurn", &frmWriteCDDA::burnFinished, 60000),
                 AudioBurnOutcome::Completed);
        const std::vector<std::uint8_t>& packs = m_rig->drives.Drive().Media().cdText;
        const CdText disc = CdTextPacks::DecodePacks(packs.data(), packs.size()).text;
        QCOMPARE(disc.disc, (CdText::Texts{"?? Moon", "Maple Duo", ""}));
        QCOMPARE(disc.tracks.size(), std::size_t(2));
        QCOMPARE(disc.tracks[0], (CdText::Texts{"Morning", "Ann", ""}));
        QCOMPARE(disc.tracks[1], (CdText::Texts{"Night ?", "Ben Lee", ""}));
    }

    void closeOrCancelAsksAndCancelStopsAtTheNextBlockSayingWhatTheDiscHolds() {
        QVERIFY(m_rig->drives.Drive().InsertBlank(MediumKind::CdR).empty());
        // After the first block, the drive reports a long write for 2 s.
        m_rig->drives.Drive().Faults().failures.push_back({0x2A, 1, 20, 0x02, 0x04, 0x08});
        frmWriteCDDA window;
        window.AddDroppedFiles({File("cd.wav"), File("hd.wav")});
        auto* cancel = Control<QPushButton>(&window, "cmdCancel");
        bool clicked = false;
        m_rig->boxes.QueueAnswer(MessageAnswer::No);  // to the close: the recording goes on
        // The first percentage of a written block (a conversion before it shows none).
        connect(window.findChild<EngineRunner*>(), &EngineRunner::percentText, this, [&] {
            if (std::exchange(clicked, true)) return;
            QVERIFY(!window.close());
            QTest::mouseClick(cancel, Qt::LeftButton);
        });
        window.UpdateBurnButton();
        QCOMPARE(ClickAndWait(window, "CmdBurn", &frmWriteCDDA::burnFinished, 30000),
                 AudioBurnOutcome::Cancelled);
        // A close and Cancel ask the same question, No its default.
        const auto& question = m_rig->boxes.shown.at(0);
        QCOMPARE(question.text.left(8), QString::fromUtf8("确定要停止刻录吗"));
        QCOMPARE(question.buttons, MessageButtons::YesNo);
        QVERIFY(question.noIsDefault);
        QCOMPARE(m_rig->boxes.shown.at(1).text, question.text);
        QCOMPARE(m_rig->drives.Drive().Media().tracks.size(), std::size_t(1));
        QVERIFY(!cancel->isEnabled());
        QVERIFY(Control<TrackListView>(&window, "lvwFiles")->isEnabled());
    }

    void aRefusalIsShownAndLeavesTheDiscUntouched() {
        QVERIFY(m_rig->drives.Drive().InsertBlank(MediumKind::DvdR).empty());
        frmWriteCDDA window;
        window.AddDroppedFiles({File("cd.wav")});
        window.UpdateBurnButton();
        QCOMPARE(ClickAndWait(window, "CmdBurn", &frmWriteCDDA::burnFinished),
                 AudioBurnOutcome::Refused);
        QCOMPARE(m_rig->boxes.shown.back().text,
                 QString::fromUtf8("您入放的是一张DVD碟片，请更换成CD-R or CD-RW碟片再进行刻录!"));
        QCOMPARE(m_rig->drives.Count(kWrite10), std::size_t(0));
        QVERIFY(Control<QTimer>(&window, "Timer1")->isActive());
    }

    void burnButtonFollowsTheMedium() {
        frmWriteCDDA window;
        auto* burn = Control<QPushButton>(&window, "CmdBurn");
        QVERIFY(!burn->isEnabled());
        QVERIFY(Control<QTimer>(&window, "Timer1")->isActive());  // it ticks as below
        QVERIFY(m_rig->drives.Drive().InsertBlank(MediumKind::CdR).empty());
        window.UpdateBurnButton();
        QVERIFY(burn->isEnabled());
        // The playing time is measured against the blank's free blocks.
        QCOMPARE(Panel(window, 4), QStringLiteral("00:00 / 79:57"));
        QVERIFY(m_rig->drives.Drive().RemoveMedium().empty());
        window.UpdateBurnButton();
        QVERIFY(!burn->isEnabled());
        QCOMPARE(Panel(window, 4), QStringLiteral("00:00 / 80:00"));
    }

    // The audio task opens this window: tst_LanguageFiles reads its texts so.
    void backReturnsToTheMainWindow() {
        QTest::mouseClick(Control<QPushButton>(new frmWriteCDDA(), "cmdBack"), Qt::LeftButton);
        QVERIFY(m_rig->main.widget.isVisible());
    }

  private:
    // FLAC: WAV with the album "Quiet Album" and the tags given.
    bool Tagged(const char* wav, const char* flac, const QStringList& tags) {
        QStringList arguments{"-s", "-f", "--no-utf8-convert", "-T", "ALBUM=Quiet Album"};
        for (const QString& tag : tags) arguments << "-T" << tag;
        return RunTool("flac", arguments << File(wav) << "-o" << File(flac));
    }
    QString File(const char* name) const { return QString::fromStdString(m_files->File(name)); }

    std::unique_ptr<TempFolder> m_files;
    std::unique_ptr<WindowTestRig> m_rig;
};

QTEST_MAIN(WriteCddaTest)
#include "tst_frmWriteCDDA.moc"
