// The track list of the audio CD window: drops, renames, removals, moves,
// and the size and playing-time panels. The rules are AudioTrackList's;
// these functions mirror it into the rows.
#include <QCheckBox>
#include <QDateTime>
#include <QLabel>
#include <QLocale>

#include "AudioBurnMessages.h"
#include "AudioTexts.h"
#include "ElapsedTime.h"
#include "FileAdding.h"
#include "MessageBoxSeam.h"
#include "ModFileDlg.h"
#include "SizeText.h"
#include "TrackListView.h"
#include "WindowTexts.h"
#include "frmWriteCDDA.h"

namespace {
constexpr int kPauseColumn = 4;
constexpr int kTitleColumn = 5, kPerformerColumn = 6;

// "mm:ss" of a number of blocks (75 per second), minutes not limited to 60.
QString DiscTime(std::int64_t blocks) {
    const std::int64_t seconds = blocks / 75;
    return QStringLiteral("%1:%2")
        .arg(seconds / 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

bool OnlySpaces(const QString& text) {
    for (const QChar c : text)
        if (c != QLatin1Char(' ')) return false;
    return true;
}
}  // namespace

void frmWriteCDDA::AddDroppedFiles(const QStringList& paths) {
    if (!paths.isEmpty()) {
        m_panels[0]->setText(QText(AudioText::AddingFiles));
        std::vector<std::string> files;
        for (const QString& path : paths) files.push_back(path.toStdString());
        for (const AudioTrack& refused : m_tracks.Add(files))
            ShowMessageBox(this,
                           QString::fromStdString(UnsupportedFileText(
                               refused.path, Text(AudioText::NotSupported), refused.facts.refusal)),
                           QText(AudioText::NotSupportedTitle), MessageIcon::Exclamation);
        ShowTracks();
        FillAlbumFields();
        m_panels[0]->setText(QText(AudioText::FilesAdded));
    }
    ShowTotals();
}

void frmWriteCDDA::AskForTracks() {
    const QString patterns = QStringLiteral("*.WAV *.FLAC *.MP3 *.OGG *.OGA *.OPUS");
    AddDroppedFiles(ModFileDlg::ShowOpenFilesDialog(
        this, FileAdding::DialogTitle(QText(AudioText::AddFilesMenu)), patterns,
        QText(AudioText::SoundFiles)));
}

void frmWriteCDDA::RemoveSelectedTracks() {
    std::vector<std::size_t> rows;
    for (int row : m_lvwFiles->SelectedRows()) rows.push_back(static_cast<std::size_t>(row));
    m_tracks.Remove(rows);
    ShowTracks();
    ShowTotals();
}

void frmWriteCDDA::NewAudioProject() {
    m_tracks.Clear();
    ShowTracks();
    ShowTotals();
    m_panels[0]->setText(QStringLiteral("Ready"));
    m_panels[1]->setText(QStringLiteral("Size: 0 KB"));
}

void frmWriteCDDA::MoveTracks(const QList<int>& rows, int before) {
    std::vector<std::size_t> moving;
    for (int row : rows) moving.push_back(static_cast<std::size_t>(row));
    const std::size_t first = m_tracks.Move(moving, static_cast<std::size_t>(before));
    QList<int> moved;
    for (qsizetype i = 0; i < rows.size(); ++i) moved.append(static_cast<int>(first + i));
    ShowTracks(moved);
}

void frmWriteCDDA::StartRename() {
    QTreeWidgetItem* item = m_lvwFiles->currentItem();
    if (item == nullptr) return;
    m_lvwFiles->setFocus();
    m_lvwFiles->editItem(item, 0);
}

// The edit stays only when it names a file the list takes; the row then
// shows that file's facts. Otherwise the row gets its former text back.
void frmWriteCDDA::FinishRename(QTreeWidgetItem* item, int column) {
    const int row = m_lvwFiles->indexOfTopLevelItem(item);
    if (m_showingRows || row < 0) return;
    if (column == kPauseColumn) FinishPauseEdit(item, row);
    if (column == kTitleColumn || column == kPerformerColumn) FinishTextEdit(item, row, column);
    if (column != 0) return;
    const QString text = item->text(0);
    if (!OnlySpaces(text)) m_tracks.Rename(static_cast<std::size_t>(row), text.toStdString());
    ShowRow(item, m_tracks.Tracks()[static_cast<std::size_t>(row)]);
    ShowTotals();
}

void frmWriteCDDA::EditCell(QTreeWidgetItem* item, int column) {
    if (!m_chkDiscAtOnce->isChecked()) return;
    const bool pause = column == kPauseColumn && m_lvwFiles->indexOfTopLevelItem(item) > 0;
    if (pause || column == kTitleColumn || column == kPerformerColumn)
        m_lvwFiles->editItem(item, column);
}

// A whole number of seconds from 0 to 10 stays; anything else gives the
// cell its former value back.
void frmWriteCDDA::FinishPauseEdit(QTreeWidgetItem* item, int row) {
    bool number = false;
    const int seconds = item->text(kPauseColumn).trimmed().toInt(&number);
    if (number && m_chkDiscAtOnce->isChecked())
        (void)m_tracks.SetPause(static_cast<std::size_t>(row), seconds);
    ShowRow(item, m_tracks.Tracks()[static_cast<std::size_t>(row)]);
    ShowTotals();
}

void frmWriteCDDA::ShowTracks(const QList<int>& selectRows) {
    m_showingRows = true;
    m_lvwFiles->clear();
    for (const AudioTrack& track : m_tracks.Tracks()) {
        auto* item = new QTreeWidgetItem(m_lvwFiles);
        item->setFlags(item->flags() | Qt::ItemIsEditable | Qt::ItemIsDragEnabled);
        item->setFlags(item->flags() & ~Qt::ItemIsDropEnabled);
        ShowRow(item, track);
    }
    for (int row : selectRows)
        if (QTreeWidgetItem* item = m_lvwFiles->topLevelItem(row)) item->setSelected(true);
    if (!selectRows.isEmpty())
        m_lvwFiles->setCurrentItem(m_lvwFiles->topLevelItem(selectRows.first()), 0,
                                   QItemSelectionModel::NoUpdate);
    m_showingRows = false;
}

void frmWriteCDDA::ShowRow(QTreeWidgetItem* item, const AudioTrack& track) {
    const bool showing = m_showingRows;
    m_showingRows = true;
    item->setText(0, QString::fromStdString(track.path));
    item->setText(1, QString::fromStdString(SizeText(track.facts.fileBytes)));
    item->setText(2, QString::fromStdString(ElapsedTime::Format(track.facts.seconds)));
    // An unknown date leaves the cell empty.
    item->setText(3, track.facts.modified
                         ? QLocale().toString(QDateTime::fromSecsSinceEpoch(*track.facts.modified),
                                              QLocale::ShortFormat)
                         : QString());
    // The pause before the track: chosen in Disc-At-Once, else always 2 s;
    // the first track's pre-gap is no choice.
    const bool first = m_lvwFiles->indexOfTopLevelItem(item) == 0;
    const int pause = m_chkDiscAtOnce->isChecked() ? track.pauseSeconds : 2;
    item->setText(kPauseColumn, first ? QString() : QString::number(pause));
    item->setText(kTitleColumn, QString::fromStdString(track.tags.title));
    item->setText(kPerformerColumn, QString::fromStdString(track.tags.performer));
    m_showingRows = showing;
}

// Panel 2: the size of the sound; panel 4: the playing time with the pauses
// against the capacity, in red when the tracks do not fit.
void frmWriteCDDA::ShowTotals() {
    m_panels[1]->setText(QStringLiteral("Size: ") +
                         QString::fromStdString(SizeText(m_tracks.TotalBytes())));
    const std::int64_t capacity = m_blankBlocks.value_or(AudioTrackList::kCdBlocks);
    const std::int64_t needed = m_tracks.DiscBlocks(m_chkDiscAtOnce->isChecked());
    m_panels[3]->setText(DiscTime(needed) + QStringLiteral(" / ") + DiscTime(capacity));
    QPalette colours = m_panels[3]->palette();
    colours.setColor(QPalette::WindowText,
                     needed > capacity ? Qt::red : palette().windowText().color());
    m_panels[3]->setPalette(colours);
}
