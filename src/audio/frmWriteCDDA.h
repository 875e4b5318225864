#pragma once

#include <QStringList>
#include <QWidget>
#include <array>
#include <optional>

#include "AudioBurnEngine.h"
#include "AudioTrackList.h"
#include "CloseDuringRun.h"
#include "EngineOutcome.h"
#include "MediaPresenceWatch.h"

class EngineRunner;
class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QTimer;
class QTreeWidgetItem;
class TrackListView;

// The audio CD window: the user drops WAV files on the track list, orders
// them, and records them as an audio CD. The list's rules live in
// AudioTrackList, the recording in AudioBurnEngine on a worker thread; the
// window mirrors the one and shows the progress of the other. Closing it
// shows the main window again.
class frmWriteCDDA : public QWidget {
    Q_OBJECT
  public:
    explicit frmWriteCDDA(QWidget* parent = nullptr);
    // Waits for a running recording before the window's state goes away.
    ~frmWriteCDDA() override;

    // Opens a new audio window for the main window's audio task.
    static void Open(int chosenMedium);

    const AudioTrackList& Tracks() const { return m_tracks; }
    // True from Burn until the recording's last message is answered.
    bool Recording() const;
    // How the last recording request ended (none before the first).
    std::optional<AudioBurnOutcome> LastOutcome() const;

  public slots:
    // Timer1: Burn is enabled exactly while a medium is present in the
    // current drive and no other operation has the drive.
    void UpdateBurnButton();
    // Adds the dropped files in order; refuses, with a message naming it,
    // every file that is not an audio file the recorder takes.
    void AddDroppedFiles(const QStringList& paths);
    void RemoveSelectedTracks();
    void NewAudioProject();
    // Burn: checks and records the list on a worker thread.
    void StartAudioBurn();

  signals:
    // A recording request has ended (whatever its outcome).
    void burnFinished();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    // frmWriteCDDA_Layout.cpp
    void BuildControls();
    void BuildAlbumFields();
    void BuildButtons();
    void BuildOptionsAndProgress();
    void BuildStatusBar();
    void BuildMenus();
    void ApplyStylePictures();
    void ConnectControls();
    // frmWriteCDDA_List.cpp
    void ShowTracks(const QList<int>& selectRows = {});
    void ShowRow(QTreeWidgetItem* item, const AudioTrack& track);
    void ShowTotals();
    void StartRename();
    void FinishRename(QTreeWidgetItem* item, int column);
    // Disc-At-Once: the pause of a row after the first, or a row's title
    // or performer, is edited.
    void EditCell(QTreeWidgetItem* item, int column);
    void FinishPauseEdit(QTreeWidgetItem* item, int row);
    void MoveTracks(const QList<int>& rows, int before);
    // Asks for sound files and adds them as a drop does.
    void AskForTracks();
    // frmWriteCDDA_CdText.cpp
    // The CD-TEXT columns and album fields show only in Disc-At-Once.
    void ShowDiscAtOnceParts();
    // Empty album fields take the album's title and performer from the tags.
    void FillAlbumFields();
    void FinishTextEdit(QTreeWidgetItem* item, int row, int column);
    // Disc-At-Once: the texts, catalogue number and ISRCs into `options`.
    // False when the user chose to edit texts that CD-TEXT cannot hold.
    bool TakeCdText(AudioBurnOptions& options);
    // frmWriteCDDA.cpp
    // Reads the free blocks of the disc in `drive` (empty: forgets them).
    void ReadBlankCapacity(const std::string& drive);
    void OnBurnFinished();
    void ShowTrackCounter(const std::string& text);

    AudioTrackList m_tracks;
    MediaPresenceWatch m_presence;
    // Blocks of the blank in the drive when known; else an 80-minute CD.
    std::optional<std::int64_t> m_blankBlocks;
    std::string m_capacityOf;  // the drive m_blankBlocks was read from
    EngineRunner* m_runner;
    CloseDuringRun m_closing;
    EngineOutcome<AudioBurnOutcome> m_lastOutcome;
    bool m_showingRows = false;  // the rows are being refilled: no edit to handle

    QLabel* m_lblInfo = nullptr;
    QLabel* m_label1 = nullptr;
    QLabel* m_lblAlbumTitle = nullptr;
    QLineEdit* m_txtAlbumTitle = nullptr;
    QLabel* m_lblAlbumPerformer = nullptr;
    QLineEdit* m_txtAlbumPerformer = nullptr;
    TrackListView* m_lvwFiles = nullptr;
    QPushButton* m_cmdDel = nullptr;
    QPushButton* m_cmdRen = nullptr;
    QPushButton* m_cmdNewPrj = nullptr;
    QPushButton* m_cmdAddFiles = nullptr;
    QPushButton* m_cmdAbout = nullptr;
    QPushButton* m_cmdTools = nullptr;
    QPushButton* m_cmdBack = nullptr;
    QPushButton* m_cmdBurn = nullptr;
    QPushButton* m_cmdCancel = nullptr;
    QCheckBox* m_chkFixDisc = nullptr;
    QCheckBox* m_chkTestMode = nullptr;
    QCheckBox* m_chkEjectDisc = nullptr;
    QCheckBox* m_chkVerify = nullptr;
    QCheckBox* m_chkDiscAtOnce = nullptr;
    QLabel* m_label2 = nullptr;  // percentage
    QLabel* m_label3 = nullptr;  // track counter
    QProgressBar* m_prg = nullptr;
    std::array<QLabel*, 4> m_panels{};
    QMenu* m_meuMenuFiles = nullptr;
    QAction* m_meuFilesAdd = nullptr;
    QAction* m_meuFilesRem = nullptr;
    QAction* m_meuFileRen = nullptr;
    QAction* m_meuDiscInfo = nullptr;
    QAction* m_meuEraseDisc = nullptr;
    QAction* m_meuHelpFile = nullptr;
    QAction* m_meuAbout = nullptr;
    QTimer* m_timer1 = nullptr;
};
