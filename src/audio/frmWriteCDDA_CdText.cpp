// The CD-TEXT of a Disc-At-Once recording in the audio CD window: the
// album's title and performer fields, the tracks' title and performer
// columns (filled from the files' tags, editable), and the question about
// texts that CD-TEXT cannot hold before the burn.
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>

#include "AudioTexts.h"
#include "CdTextPacks.h"
#include "MessageBoxSeam.h"
#include "TrackListView.h"
#include "WindowTexts.h"
#include "frmWriteCDDA.h"

namespace {
constexpr int kTitleColumn = 5, kPerformerColumn = 6;
}  // namespace

void frmWriteCDDA::ShowDiscAtOnceParts() {
    const bool shown = m_chkDiscAtOnce->isChecked();
    m_lvwFiles->setColumnHidden(kTitleColumn, !shown);
    m_lvwFiles->setColumnHidden(kPerformerColumn, !shown);
    for (QWidget* part : std::initializer_list<QWidget*>{m_lblAlbumTitle, m_txtAlbumTitle,
                                                         m_lblAlbumPerformer, m_txtAlbumPerformer})
        part->setVisible(shown);
}

void frmWriteCDDA::FillAlbumFields() {
    const CdText::Texts album = m_tracks.Album().text.disc;
    if (m_txtAlbumTitle->text().trimmed().isEmpty())
        m_txtAlbumTitle->setText(QString::fromStdString(album.title));
    if (m_txtAlbumPerformer->text().trimmed().isEmpty())
        m_txtAlbumPerformer->setText(QString::fromStdString(album.performer));
}

void frmWriteCDDA::FinishTextEdit(QTreeWidgetItem* item, int row, int column) {
    const std::string text = item->text(column).toStdString();
    if (column == kTitleColumn)
        m_tracks.SetTitle(static_cast<std::size_t>(row), text);
    else
        m_tracks.SetPerformer(static_cast<std::size_t>(row), text);
    ShowRow(item, m_tracks.Tracks()[static_cast<std::size_t>(row)]);
}

// As maple-cli does: the texts from the tags with the user's edits; the
// ones ISO 8859-1 cannot hold are listed, and the user may go back to them.
bool frmWriteCDDA::TakeCdText(AudioBurnOptions& options) {
    AlbumTags album = m_tracks.Album();
    album.text.disc.title = m_txtAlbumTitle->text().trimmed().toStdString();
    album.text.disc.performer = m_txtAlbumPerformer->text().trimmed().toStdString();
    options.cdText = album.text;
    options.catalogue = album.catalogue;
    options.isrcs = album.isrcs;
    const CdTextPacks::Encoded encoded = CdTextPacks::Encode(album.text);
    if (encoded.replaced.empty()) return true;
    QString list = QText(AudioText::CdTextReplaced) + QLatin1Char('\n');
    for (const std::string& text : encoded.replaced)
        list += QStringLiteral("    ") + QString::fromStdString(text) + QLatin1Char('\n');
    list += QLatin1Char('\n') + QText(AudioText::CdTextReplacedQuestion);
    return ShowMessageBox(this, list, QText(AudioText::CdTextTitle), MessageIcon::Question,
                          MessageButtons::YesNo) == MessageAnswer::Yes;
}
