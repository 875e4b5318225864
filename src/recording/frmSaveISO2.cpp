#include "frmSaveISO2.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include "CopyTexts.h"
#include "EngineRunner.h"
#include "MainWindowLink.h"
#include "ModFileDlg.h"
#include "ProgramPaths.h"
#include "RecordingTask.h"
#include "SpeedListBox.h"
#include "TemporaryImage.h"
#include "WindowParts.h"
#include "WindowTexts.h"
#include "frmWriteISO.h"
#include "modMMC.h"

namespace {
constexpr int kWidthTwips = 10035;
constexpr int kHeightTwips = 7530;
}  // namespace

frmSaveISO2::frmSaveISO2(QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_runner(new EngineRunner(this)),
      // Reading can stop at any sector without harm to the disc.
      m_closing(this, m_runner, CloseDuringRun::Rule::Stop) {
    WindowParts::TaskWindowFrame(this, "frmSaveISO2", QStringLiteral("Disc Duplicator"),
                                 kWidthTwips, kHeightTwips);
    BuildControls();
    ShowNextPurpose();
    m_runner->LockWhileRunning(
        {m_cboReadSpeed, m_chkCreateISOonly, m_chkBadCopy, m_cmdNext, m_cmdBack, m_cboTarget});
    ConnectControls();
    Load();
}

frmSaveISO2::~frmSaveISO2() {
    delete m_runner;
}

void frmSaveISO2::Open(int) {
    WindowParts::ShowInFront(new frmSaveISO2());
}

bool frmSaveISO2::Copying() const {
    return m_runner->IsRunning();
}

void frmSaveISO2::ConnectControls() {
    connect(m_timer1, &QTimer::timeout, this, &frmSaveISO2::Timer1Tick);
    connect(m_chkCreateISOonly, &QCheckBox::toggled, this, &frmSaveISO2::ShowNextPurpose);
    connect(m_cmdNext, &QPushButton::clicked, this, &frmSaveISO2::Next);
    connect(m_cboTarget, &QComboBox::currentIndexChanged, this, &frmSaveISO2::TargetChanged);
    connect(m_cmdBack, &QPushButton::clicked, this, &QWidget::close);
    connect(m_cmdCancel, &QPushButton::clicked, m_runner, &EngineRunner::Cancel);
    WindowParts::ShowProgress(m_runner, m_panels, m_prg, m_imgtea, QText(CopyText::Reading));
    connect(m_runner, &EngineRunner::finished, this, &frmSaveISO2::OnCopyFinished);
    m_runner->NotifyWhenAway();
}

void frmSaveISO2::Load() {
    // Without a drive there is no disc to copy.
    if (MainWindow() == nullptr || MainWindow()->DriveListEmpty()) {
        m_cmdNext->setEnabled(false);
        m_chkCreateISOonly->setChecked(true);
        m_chkCreateISOonly->setEnabled(false);
        return;
    }
    FillTargetChoice();
    Timer1Tick();
    m_panels[0]->setText(QText(CopyText::Ready));
    m_timer1->start();
}

void frmSaveISO2::Timer1Tick() {
    const std::string drive = CurrentDrive();
    const SpeedListBox::Medium medium = m_cboReadSpeed->Follow(drive);
    if (medium == SpeedListBox::Medium::Appeared)
        m_lblSourceDisc->setText(
            QString::fromStdString(modMMC::MediaName(modMMC::GetMediaType(drive))));
    else if (medium == SpeedListBox::Medium::Absent)
        m_lblSourceDisc->clear();
    m_cmdNext->setEnabled(medium != SpeedListBox::Medium::Absent);
}

void frmSaveISO2::Next() {
    CopyOptions options;
    options.imageOnly = m_chkCreateISOonly->isChecked();
    options.badCopy = m_chkBadCopy->isChecked();
    options.readSpeed = m_cboReadSpeed->Selected();
    if (const std::string target = TargetDrive(); !target.empty()) {
        HandOver(options, target);
        return;
    }
    m_timer1->stop();
    m_cmdNext->setEnabled(false);
    m_prg->setValue(0);
    m_cmdCancel->show();
    const std::string drive = CurrentDrive();
    m_runner->Start(
        [this, drive, options](EngineReporter& reporter) {
            DiscCopier copier(reporter, options);
            m_lastOutcome.Set(copier.Next(drive, [this] { return AskImagePath(); }));
        },
        drive);
}

// Called on the copy's thread: the save dialog runs on the window's.
std::string frmSaveISO2::AskImagePath() {
    QString path;
    m_runner->RunOnWindowThread([this, &path] {
        path =
            ModFileDlg::ShowSaveDialog(this, QText(CopyText::SaveImageTitle),
                                       QStringLiteral("*.ISO"), QText(CopyText::ImageFileFilter));
    });
    return path.toStdString();
}

void frmSaveISO2::OnCopyFinished() {
    m_cmdCancel->hide();
    m_imgtea->hide();
    emit copyFinished();
    const std::optional<CopyOutcome> outcome = LastOutcome();
    if (outcome == CopyOutcome::ReadyToRecord && !m_closing.Leaving()) {
        // The recording window comes back here on Back.
        frmWriteISO::OpenTemporary(RecordingTask::kCopyDisc, this);
        hide();
        return;
    }
    if (outcome == CopyOutcome::ImageSaved || m_closing.Leaving()) {
        // Left before its recording: the temporary image goes.
        if (outcome == CopyOutcome::ReadyToRecord)
            TemporaryImage::FromSettings(RecordingTask::kCopyDisc).DeleteIfCovered(TempImagePath());
        close();
        return;
    }
    m_timer1->start();
}

// Back from the record-image window: Next follows the disc again.
void frmSaveISO2::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_timer1->isActive() || Copying() || MainWindow() == nullptr ||
        MainWindow()->DriveListEmpty())
        return;
    Timer1Tick();
    m_timer1->start();
}

void frmSaveISO2::closeEvent(QCloseEvent* event) {
    if (!m_closing.MayClose(event)) return;
    if (MainWindow() != nullptr) MainWindow()->Window()->show();
}
