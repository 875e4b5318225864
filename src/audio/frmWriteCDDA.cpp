#include "frmWriteCDDA.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

#include "AudioTexts.h"
#include "EngineRunner.h"
#include "FileAdding.h"
#include "MainWindowLink.h"
#include "TrackListView.h"
#include "WindowParts.h"
#include "WindowTexts.h"
#include "modMMC.h"

namespace {
constexpr int kWidthTwips = 10005;
constexpr int kHeightTwips = 7500;
}  // namespace

frmWriteCDDA::frmWriteCDDA(QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_runner(new EngineRunner(this)),
      // Cancel and a close ask the same question before they stop a recording.
      m_closing(this, m_runner, CloseDuringRun::Rule::AskThenStop, QText(AudioText::StopQuestion),
                QText(AudioText::StopTitle)) {
    WindowParts::TaskWindowFrame(this, "frmWriteCDDA", QStringLiteral("CD-DA Burner"), kWidthTwips,
                                 kHeightTwips);
    BuildControls();
    BuildMenus();
    ApplyStylePictures();
    m_runner->LockWhileRunning(
        {m_lvwFiles, m_cmdDel, m_cmdRen, m_cmdNewPrj, m_cmdAddFiles, m_cmdBack, m_cmdBurn,
         m_chkFixDisc, m_chkTestMode, m_chkEjectDisc, m_chkVerify, m_txtAlbumTitle,
         m_txtAlbumPerformer},
        {m_meuFilesAdd, m_meuFilesRem, m_meuFileRen, m_meuDiscInfo, m_meuEraseDisc});
    m_timer1 = WindowParts::TickTimer(this);
    ConnectControls();
    ShowDiscAtOnceParts();
    m_panels[0]->setText(QStringLiteral("Ready"));
    ShowTotals();
    if (MainWindow() == nullptr || MainWindow()->DriveListEmpty()) {
        m_cmdBurn->setEnabled(false);
        m_meuDiscInfo->setEnabled(false);
        m_meuEraseDisc->setEnabled(false);
        return;
    }
    m_timer1->start();
}

frmWriteCDDA::~frmWriteCDDA() {
    delete m_runner;
}

void frmWriteCDDA::Open(int) {
    WindowParts::ShowInFront(new frmWriteCDDA());
}

bool frmWriteCDDA::Recording() const {
    return m_runner->IsRunning();
}

std::optional<AudioBurnOutcome> frmWriteCDDA::LastOutcome() const {
    return m_lastOutcome.Get();
}

void frmWriteCDDA::ConnectControls() {
    connect(m_timer1, &QTimer::timeout, this, &frmWriteCDDA::UpdateBurnButton);
    connect(m_lvwFiles, &TrackListView::filesDropped, this, &frmWriteCDDA::AddDroppedFiles);
    connect(m_lvwFiles, &TrackListView::rowsMoved, this, &frmWriteCDDA::MoveTracks);
    connect(m_lvwFiles, &TrackListView::rightButtonPressed, this,
            [this](const QPoint& at) { m_meuMenuFiles->popup(at); });
    connect(m_lvwFiles, &QTreeWidget::itemChanged, this, &frmWriteCDDA::FinishRename);
    connect(m_lvwFiles, &QTreeWidget::itemDoubleClicked, this, &frmWriteCDDA::EditCell);
    connect(m_chkDiscAtOnce, &QCheckBox::toggled, this, [this] {
        ShowTracks();
        ShowTotals();
        ShowDiscAtOnceParts();
    });
    connect(m_cmdAddFiles, &QPushButton::clicked, this, &frmWriteCDDA::AskForTracks);
    connect(m_meuFilesAdd, &QAction::triggered, this, &frmWriteCDDA::AskForTracks);
    FileAdding::Install(
        m_lvwFiles, [this] { AskForTracks(); },
        [this](const QStringList& paths) { AddDroppedFiles(paths); });
    connect(m_cmdDel, &QPushButton::clicked, this, &frmWriteCDDA::RemoveSelectedTracks);
    connect(m_meuFilesRem, &QAction::triggered, this, &frmWriteCDDA::RemoveSelectedTracks);
    connect(m_cmdRen, &QPushButton::clicked, this, &frmWriteCDDA::StartRename);
    connect(m_meuFileRen, &QAction::triggered, this, &frmWriteCDDA::StartRename);
    connect(m_cmdNewPrj, &QPushButton::clicked, this, &frmWriteCDDA::NewAudioProject);
    connect(m_cmdBack, &QPushButton::clicked, this, &QWidget::close);
    connect(m_cmdBurn, &QPushButton::clicked, this, &frmWriteCDDA::StartAudioBurn);
    connect(m_cmdCancel, &QPushButton::clicked, this, [this] { m_closing.StopOnRequest(); });
    connect(m_runner, &EngineRunner::phaseText, m_panels[0], &QLabel::setText);
    connect(m_runner, &EngineRunner::elapsedText, m_panels[2], &QLabel::setText);
    connect(m_runner, &EngineRunner::percentText, m_label2, &QLabel::setText);
    // The last block of a track can take the value past 100: the bar shows it full.
    connect(m_runner, &EngineRunner::progress, m_prg,
            [this](int value) { m_prg->setValue(std::min(value, 100)); });
    connect(m_runner, &EngineRunner::finished, this, &frmWriteCDDA::OnBurnFinished);
    m_runner->NotifyWhenAway();
}

void frmWriteCDDA::UpdateBurnButton() {
    const std::string drive = CurrentDrive();
    const bool ready = m_presence.ReadyToStart(drive);
    m_cmdBurn->setEnabled(ready);
    // Once per medium: when it appears or changes (a recording changes it too).
    if (ready && m_presence.NewMedium())
        ReadBlankCapacity(drive);
    else if (!m_presence.Present() && !m_capacityOf.empty())
        ReadBlankCapacity({});
}

void frmWriteCDDA::ReadBlankCapacity(const std::string& drive) {
    m_capacityOf = drive;
    const std::int64_t blocks = drive.empty() ? -1 : modMMC::FreeBlocks(drive);
    m_blankBlocks = blocks > 0 ? std::optional(blocks) : std::nullopt;
    ShowTotals();
}

void frmWriteCDDA::StartAudioBurn() {
    AudioBurnOptions options;
    options.discAtOnce = m_chkDiscAtOnce->isChecked();
    if (options.discAtOnce && !TakeCdText(options)) return;
    m_timer1->stop();
    m_cmdBurn->setEnabled(false);
    m_prg->setValue(0);
    m_label2->clear();
    m_label3->clear();
    options.fixDisc = m_chkFixDisc->isChecked();
    options.testMode = m_chkTestMode->isChecked();
    options.ejectDisc = m_chkEjectDisc->isChecked();
    options.verify = m_chkVerify->isChecked();
    options.pauseSeconds = m_tracks.PauseSeconds();
    const std::string drive = CurrentDrive();
    const std::vector<std::string> tracks = m_tracks.Paths();
    m_runner->Start(
        [this, options, drive, tracks](EngineReporter& reporter) {
            AudioBurnEngine engine(reporter, options);
            engine.SetTrackCounterHandler(
                [this](const std::string& text) { ShowTrackCounter(text); });
            m_lastOutcome.Set(engine.StartAudioBurn(drive, tracks));
        },
        drive);
    m_cmdCancel->setEnabled(true);
}

// Called on the recording's thread: the label is set on the window's.
void frmWriteCDDA::ShowTrackCounter(const std::string& text) {
    QMetaObject::invokeMethod(
        m_label3, [label = m_label3, t = QString::fromStdString(text)] { label->setText(t); },
        Qt::QueuedConnection);
}

void frmWriteCDDA::OnBurnFinished() {
    m_cmdCancel->setEnabled(false);
    m_timer1->start();
    emit burnFinished();
    // A finished recording ends the task, and a stop the user asked for by
    // closing: back to the main window.
    if (m_closing.Leaving() || LastOutcome() == AudioBurnOutcome::Completed)
        m_closing.CloseWindow();
}

void frmWriteCDDA::closeEvent(QCloseEvent* event) {
    if (!m_closing.MayClose(event)) return;
    if (MainWindow() != nullptr) MainWindow()->Window()->show();
}
