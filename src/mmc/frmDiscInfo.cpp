#include "frmDiscInfo.h"

#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

#include "BurnOptions.h"
#include "DriveBusy.h"
#include "EngineRunner.h"
#include "InfoWindowTexts.h"
#include "MainWindowLink.h"
#include "MessageBoxSeam.h"
#include "SessionRecording.h"
#include "SessionTexts.h"
#include "Twips.h"
#include "WindowPlacement.h"
#include "WindowTexts.h"
#include "modMMC.h"

namespace {
constexpr int kWidthTwips = 6030;
constexpr int kHeightTwips = 4530;
constexpr int kTickMs = 200;
constexpr int kButtonsTop = 226;
constexpr int kCdTextHeight = 170;  // the CD-TEXT frame and its gap, in pixels

struct InfoRow {
    const char* caption;  // control name
    InfoWindowText text;
    const char* value;  // control name of the value label
};
constexpr std::array<InfoRow, 5> kRows = {{
    {"lblDiscType", InfoWindowText::DiscType, "lblValueDiscType"},
    {"lblSessions", InfoWindowText::Sessions, "lblValueSessions"},
    {"LblTrackNum", InfoWindowText::Tracks, "LblValueTrackNum"},
    {"lblDiscStatus", InfoWindowText::DiscStatus, "lblValueDiscStatus"},
    {"lblSessionStatus", InfoWindowText::LastSessionStatus, "lblValueLastSessionStatus"},
}};
}  // namespace

frmDiscInfo::frmDiscInfo(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmDiscInfo"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Disc Information"));
    BuildControls();
    Twips::FixWindowSize(*this, kWidthTwips, kHeightTwips);
    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(kTickMs);
    connect(m_timer1, &QTimer::timeout, this, &frmDiscInfo::Timer1Tick);
    Load();
}

frmDiscInfo* frmDiscInfo::ShowWindow() {
    static QPointer<frmDiscInfo> window;
    if (window == nullptr) window = new frmDiscInfo();
    ShowOverOwner(window);
    return window;
}

void frmDiscInfo::BuildControls() {
    m_frameInfo = new QGroupBox(QText(InfoWindowText::InfoFrame), this);
    m_frameInfo->setObjectName(QStringLiteral("frameInfo"));
    m_frameInfo->setGeometry(12, 10, 370, 196);
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        const int top = 30 + static_cast<int>(i) * 32;
        m_captions[i] = new QLabel(QText(kRows[i].text), m_frameInfo);
        m_captions[i]->setObjectName(QString::fromLatin1(kRows[i].caption));
        m_captions[i]->setGeometry(16, top, 150, 22);
        m_values[i] = new QLabel(QStringLiteral("N/A"), m_frameInfo);
        m_values[i]->setObjectName(QString::fromLatin1(kRows[i].value));
        m_values[i]->setGeometry(172, top, 180, 22);
        QFont bold = m_values[i]->font();
        bold.setBold(true);
        m_values[i]->setFont(bold);
    }
    m_frameCdText = new QGroupBox(QText(InfoWindowText::CdTextFrame), this);
    m_frameCdText->setObjectName(QStringLiteral("frameCdText"));
    m_frameCdText->setGeometry(12, 212, 370, kCdTextHeight - 10);
    m_frameCdText->hide();
    m_lvwCdText = new QTreeWidget(m_frameCdText);
    m_lvwCdText->setObjectName(QStringLiteral("lvwCdText"));
    m_lvwCdText->setGeometry(10, 24, 350, kCdTextHeight - 44);
    m_lvwCdText->setRootIsDecorated(false);
    m_lvwCdText->setHeaderLabels({QText(InfoWindowText::TrackColumn),
                                  QText(InfoWindowText::TitleColumn),
                                  QText(InfoWindowText::PerformerColumn)});
    m_lvwCdText->setColumnWidth(0, 60);
    m_lvwCdText->setColumnWidth(1, 150);
    m_cmdExit = new QPushButton(QText(InfoWindowText::CloseButton), this);
    m_cmdExit->setObjectName(QStringLiteral("cmdExit"));
    m_cmdExit->setGeometry(282, kButtonsTop, 100, 30);
    connect(m_cmdExit, &QPushButton::clicked, this, &QWidget::close);
    m_cmdCloseDisc = new QPushButton(QText(InfoWindowText::CloseDiscButton), this);
    m_cmdCloseDisc->setObjectName(QStringLiteral("cmdCloseDisc"));
    m_cmdCloseDisc->setGeometry(12, kButtonsTop, 150, 30);
    m_cmdCloseDisc->setEnabled(false);
    connect(m_cmdCloseDisc, &QPushButton::clicked, this, &frmDiscInfo::CloseDisc);
    m_runner = new EngineRunner(this);
    m_runner->LockWhileRunning({m_cmdCloseDisc, m_cmdExit});
    connect(m_runner, &EngineRunner::finished, this, [this] {
        m_timer1->start();
        emit closeFinished();
    });
}

bool frmDiscInfo::Closing() const {
    return m_runner->IsRunning();
}

void frmDiscInfo::CloseDisc() {
    const std::string drive = CurrentDrive();
    if (drive.empty() ||
        ShowMessageBox(this, QText(SessionText::CloseConfirm), windowTitle(), MessageIcon::Question,
                       MessageButtons::YesNo) != MessageAnswer::Yes) {
        emit closeFinished();
        return;
    }
    m_timer1->stop();
    BurnOptions options = BurnOptions::ForTask(RecordingTask::kRecordImage);
    options.ejectDisc = false;  // the window goes on showing the disc
    m_runner->Start(
        [drive, options](EngineReporter& reporter) {
            (void)SessionRecording::CloseDisc(reporter, drive, options);
        },
        drive);
}

void frmDiscInfo::Load() {
    m_timer1->stop();
    m_drive = CurrentDrive();
    // Another window's burn or erase owns the drive: the timer catches up later.
    if (!m_drive.empty() && !IsDriveBusy(m_drive)) {
        if (const auto texts = m_view.Load(m_drive)) ShowTexts(*texts);
    }
    m_timer1->start();
}

void frmDiscInfo::ShowDiscInfo(const std::string& drive) {
    ShowTexts(DiscInfoView::ShowDiscInfo(drive));
}

void frmDiscInfo::Timer1Tick() {
    const std::string drive = CurrentDrive();
    if (drive != m_drive) {
        m_view = DiscInfoView();
        m_drive = drive;
    }
    if (drive.empty()) {
        ShowTexts(DiscInfoView::NotAvailable());
        return;
    }
    if (const auto texts = m_view.Tick(drive)) ShowTexts(*texts);
}

void frmDiscInfo::ShowTexts(const DiscInfoTexts& texts) {
    const std::array<const std::string*, 5> values = {&texts.discType, &texts.sessions,
                                                      &texts.lastTrack, &texts.discStatus,
                                                      &texts.lastSessionStatus};
    for (std::size_t i = 0; i < values.size(); ++i)
        m_values[i]->setText(QString::fromStdString(*values[i]));
    ShowCdText(texts.cdText);
    // Only a disc that takes another session can be closed.
    if (!m_runner->IsRunning())
        m_cmdCloseDisc->setEnabled(texts.discStatus ==
                                   modMMC::DiscStatusName(modMMC::DiscState::kIncomplete));
}

void frmDiscInfo::ShowCdText(const CdText& text) {
    m_lvwCdText->clear();
    const auto row = [this](const QString& track, const CdText::Texts& texts) {
        new QTreeWidgetItem(m_lvwCdText, {track, QString::fromStdString(texts.title),
                                          QString::fromStdString(texts.performer)});
    };
    row(QText(InfoWindowText::AlbumRow), text.disc);
    for (std::size_t track = 0; track < text.tracks.size(); ++track)
        row(QString::number(track + 1), text.tracks[track]);
    const bool shown = !text.Empty();
    if (shown == !m_frameCdText->isHidden()) return;
    m_frameCdText->setVisible(shown);
    const int grown = shown ? kCdTextHeight : 0;
    m_cmdExit->move(m_cmdExit->x(), kButtonsTop + grown);
    m_cmdCloseDisc->move(m_cmdCloseDisc->x(), kButtonsTop + grown);
    Twips::FixWindowSize(*this, kWidthTwips, kHeightTwips + Twips::FromPixels(grown));
}
