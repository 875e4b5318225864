#include "frmWriteISO.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QStringList>
#include <QTimer>
#include <QUrl>

#include "CueSheetBurner.h"
#include "EngineRunner.h"
#include "ImageContent.h"
#include "ImageFileReader.h"
#include "MainWindowLink.h"
#include "MessageBoxSeam.h"
#include "ModFileDlg.h"
#include "ParallelBurn.h"
#include "SpeedListBox.h"
#include "WindowParts.h"
#include "WindowTexts.h"
#include "WriteIsoTexts.h"

namespace {
constexpr int kWidthTwips = 10035;
constexpr int kHeightTwips = 7530;

frmWriteISO* ShowNew(frmWriteISO* window) {
    WindowParts::ShowInFront(window);
    return window;
}
}  // namespace

frmWriteISO::frmWriteISO(int task, const QString& imagePath, QWidget* previous, std::string drive)
    : QWidget(nullptr, Qt::Window),
      m_task(task),
      m_taskOptions(BurnOptions::ForTask(task)),
      m_previous(previous),
      m_temporary(task, m_taskOptions.temporaryImage),
      m_runner(new EngineRunner(this)),
      m_closing(this, m_runner, CloseDuringRun::Rule::AskThenStop,
                QText(WriteIsoText::StopQuestion), QText(WriteIsoText::StopTitle)),
      m_drive(std::move(drive)) {
    WindowParts::TaskWindowFrame(this, "frmWriteISO", QStringLiteral("ISO Burner"), kWidthTwips,
                                 kHeightTwips);
    BuildControls();
    ApplyStylePictures();
    m_runner->LockWhileRunning({m_txtISO, m_cmdBrowse, m_cboWriteSpeed, m_chkTestMode, m_chkFixDisc,
                                m_chkEjectDisc, m_chkVerify, m_cmdBurn, m_cmdBack, m_lstDrives},
                               {m_tools.meuDiscInfo, m_tools.meuEraseDisc});
    ConnectControls();
    Load(imagePath);
}

frmWriteISO::~frmWriteISO() {
    delete m_runner;
}

frmWriteISO* frmWriteISO::OpenImage(const QString& imagePath) {
    return ShowNew(new frmWriteISO(RecordingTask::kRecordImage, imagePath));
}

frmWriteISO* frmWriteISO::OpenTemporary(int task, QWidget* previous) {
    return ShowNew(new frmWriteISO(task, {}, previous));
}

frmWriteISO* frmWriteISO::OpenProject(clsISOWriter& project, QWidget* previous) {
    auto* window = new frmWriteISO(RecordingTask::kDataDisc, {}, previous);
    window->m_project = &project;
    window->m_txtISO->setText(QText(WriteIsoText::DirectSource));
    return ShowNew(window);
}

frmWriteISO* frmWriteISO::OpenDriveCopy(const CopyOptions& copy, const std::string& source,
                                        const QString& sourceName, const std::string& target,
                                        QWidget* previous) {
    auto* window = new frmWriteISO(RecordingTask::kCopyDisc, {}, previous, target);
    window->m_copySource = DriveCopySource{copy, source};
    // Its disc information and erasing act on the main window's drive: the
    // source here, whose disc is being copied.
    window->m_cmdTools->setEnabled(false);
    window->m_txtISO->setText(QText(WriteIsoText::DriveCopySource, {sourceName.toStdString()}));
    return ShowNew(window);
}

bool frmWriteISO::Recording() const {
    return m_runner->IsRunning();
}

void frmWriteISO::ConnectControls() {
    connect(m_timer1, &QTimer::timeout, this, &frmWriteISO::Timer1Tick);
    connect(m_cmdBrowse, &QPushButton::clicked, this, &frmWriteISO::Browse);
    connect(m_cmdBurn, &QPushButton::clicked, this, &frmWriteISO::Burn);
    connect(m_cmdCancel, &QPushButton::clicked, this, [this] { m_closing.StopOnRequest(); });
    connect(m_cmdBack, &QPushButton::clicked, this, [this] {
        m_backToPrevious = true;
        close();
    });
    // The tea is served while the data is written.
    WindowParts::ShowProgress(m_runner, m_panels, m_prg, m_imgtea,
                              QText(WriteIsoText::WritingData));
    connect(m_runner, &EngineRunner::finished, this, &frmWriteISO::OnBurnFinished);
    m_runner->NotifyWhenAway();
    connect(m_runner, &EngineRunner::bufferLevels, m_lblBuffers, [this](int fifo, int drive) {
        QStringList levels;
        if (fifo >= 0) levels << QText(WriteIsoText::BufferFifo, {std::to_string(fifo)});
        if (drive >= 0) levels << QText(WriteIsoText::BufferDrive, {std::to_string(drive)});
        m_lblBuffers->setText(levels.join(QStringLiteral("    ")));
    });
}

void frmWriteISO::Load(const QString& imagePath) {
    const bool temporary = m_task != RecordingTask::kRecordImage;
    // A temporary image is fixed: no other file may take its place (and be
    // deleted as if it were temporary).
    m_txtISO->setText(temporary ? QString::fromStdString(m_taskOptions.imagePath) : imagePath);
    m_txtISO->setEnabled(!temporary);
    m_cmdBrowse->setEnabled(!temporary);
    m_lblInfo->setVisible(!temporary);
    setAcceptDrops(!temporary);
    m_cmdBack->setToolTip(
        QText(temporary ? WriteIsoText::BackToPrevious : WriteIsoText::BackToMain));
    if (MainWindow() == nullptr || MainWindow()->DriveListEmpty()) {
        m_cmdBurn->setEnabled(false);
        m_tools.meuDiscInfo->setEnabled(false);
        m_tools.meuEraseDisc->setEnabled(false);
        return;
    }
    m_capabilities = ReadWriteCapabilities(Drive());
    m_chkTestMode->setEnabled(m_capabilities.testWrite);
    FillDriveChoice();
    Timer1Tick();
    m_panels[0]->setText(QText(WriteIsoText::Ready));
    m_timer1->start();
}

// The test-mode box is the user's: a disc that cannot simulate leaves it as
// it is, and the recorder refuses test mode on such a disc before writing.
void frmWriteISO::Timer1Tick() {
    const SpeedListBox::Medium medium = m_cboWriteSpeed->Follow(Drive());
    // A drive that cannot write CD-R never gets Burn.
    m_cmdBurn->setEnabled(medium != SpeedListBox::Medium::Absent && m_capabilities.canWrite &&
                          !ChosenDrives().empty());
}

void frmWriteISO::Browse() {
    const QString path = ModFileDlg::ShowOpenDialog(this, QText(WriteIsoText::OpenImageTitle),
                                                    QStringLiteral("*.ISO *.CUE"),
                                                    QText(WriteIsoText::ImageOrSheetFilter));
    if (!path.isEmpty()) m_txtISO->setText(path);
}

std::vector<QString> frmWriteISO::DroppedImages(const QMimeData* data) {
    std::vector<QString> images;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile() &&
            (url.toLocalFile().endsWith(QLatin1String(".iso"), Qt::CaseInsensitive) ||
             CueSheetBurner::IsSheet(url.toLocalFile().toStdString())))
            images.push_back(url.toLocalFile());
    return images;
}

void frmWriteISO::dragEnterEvent(QDragEnterEvent* event) {
    if (!Recording() && !DroppedImages(event->mimeData()).empty()) event->acceptProposedAction();
}

// The last image file of the drop wins; other files are ignored.
void frmWriteISO::dropEvent(QDropEvent* event) {
    const std::vector<QString> images = DroppedImages(event->mimeData());
    if (m_task != RecordingTask::kRecordImage || Recording() || images.empty()) return;
    m_txtISO->setText(images.back());
    event->acceptProposedAction();
}

BurnOptions frmWriteISO::ChosenOptions() const {
    BurnOptions options = m_taskOptions;
    options.imagePath = m_txtISO->text().toStdString();
    options.writeSpeed = m_cboWriteSpeed->Selected();
    options.testMode = m_chkTestMode->isChecked();
    options.fixDisc = m_chkFixDisc->isChecked();
    options.ejectDisc = m_chkEjectDisc->isChecked();
    options.verify = m_chkVerify->isChecked();
    return options;
}

// A file without a disc file system makes a disc nobody can read: the user's
// own image is asked about before the drive is touched (the program's own
// temporary images are always ISO 9660).
bool frmWriteISO::ImageConfirmed(const std::string& path) {
    if (m_task != RecordingTask::kRecordImage || CueSheetBurner::IsSheet(path) ||
        !ImageFileReader::Check(path, ImageBurner::kSmallestImage).empty() ||
        ExamineImage(path) != ImageContent::NotAnImage)
        return true;
    return ShowMessageBox(this,
                          QString::fromStdString(path) + "\n" + QText(WriteIsoText::NotDiscImage),
                          QText(WriteIsoText::NotDiscImageTitle), MessageIcon::Question,
                          MessageButtons::YesNo) == MessageAnswer::Yes;
}

void frmWriteISO::Burn() {
    const std::vector<TargetDrive> targets = ChosenDrives();
    if (targets.empty() || !ImageConfirmed(m_txtISO->text().toStdString())) return;
    m_timer1->stop();
    m_cmdBurn->setEnabled(false);
    m_prg->setValue(0);
    m_lblBuffers->clear();
    m_cmdCancel->show();
    const std::string drive = targets.front().drive;
    const BurnOptions options = ChosenOptions();
    m_testRun = options.testMode;
    if (m_copySource) {
        StartDriveCopy(options);
        return;
    }
    if (targets.size() > 1) {
        std::vector<std::string> drives, names;
        for (const auto& target : targets) {
            drives.push_back(target.drive);
            names.push_back(target.name);
        }
        m_runner->Start(
            [this, drives, names, options](EngineReporter& reporter) {
                m_lastOutcome.Set(ParallelBurn::RecordOnDrives(reporter, options, drives, names));
            },
            drives.front());
        return;
    }
    m_runner->Start(
        [this, drive, options, project = m_project](EngineReporter& reporter) {
            // A cue sheet is recorded as it describes the disc: audio or data.
            if (project == nullptr && CueSheetBurner::IsSheet(options.imagePath)) {
                m_lastOutcome.Set(CueSheetBurner(reporter, options).Burn(drive));
                return;
            }
            ImageBurner burner(reporter, options);
            m_lastOutcome.Set(project != nullptr ? burner.BurnProject(drive, *project)
                                                 : burner.Burn(drive));
        },
        drive);
}

void frmWriteISO::OnBurnFinished() {
    m_cmdCancel->hide();
    emit burnFinished();
    // A real recording ends the task; after a test run the window stays for
    // the recording itself, and after a failure for another try.
    if (m_closing.Leaving() || (LastOutcome() == BurnOutcome::Completed && !m_testRun)) {
        m_backToPrevious = false;
        m_closing.CloseWindow();
        return;
    }
    m_timer1->start();
}

void frmWriteISO::closeEvent(QCloseEvent* event) {
    if (!m_closing.MayClose(event)) return;
    m_temporary.DeleteIfCovered(m_txtISO->text().toStdString());
    if (m_previous != nullptr && m_backToPrevious) {
        m_previous->show();
        return;
    }
    // The hidden window of the previous step goes too (it shows the main window).
    if (m_previous != nullptr) m_previous->close();
    if (MainWindow() != nullptr) MainWindow()->Window()->show();
}
