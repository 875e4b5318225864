#include "frmErase.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include "EngineRunner.h"
#include "EraseTexts.h"
#include "MainWindowLink.h"
#include "Twips.h"
#include "WindowPlacement.h"
#include "WindowTexts.h"

namespace {
constexpr int kWidthTwips = 6030;
constexpr int kHeightTwips = 4530;
constexpr int kTickMs = 200;
}  // namespace

frmErase::frmErase(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmErase"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Erase Disc"));
    BuildControls();
    Twips::FixWindowSize(*this, kWidthTwips, kHeightTwips);
    m_runner = new EngineRunner(this);
    m_runner->LockWhileRunning({m_cmdErase, m_cmdCancel, m_chkQuikErase});
    connect(m_runner, &EngineRunner::phaseText, m_lblStat, &QLabel::setText);
    connect(m_runner, &EngineRunner::finished, this, &frmErase::OnEraseFinished);
    m_runner->NotifyWhenAway();
    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(kTickMs);
    connect(m_timer1, &QTimer::timeout, this, &frmErase::Timer1Tick);
    m_timer1->start();
}

frmErase::~frmErase() {
    delete m_runner;
}

frmErase* frmErase::ShowWindow() {
    static QPointer<frmErase> window;
    if (window == nullptr) window = new frmErase();
    ShowOverOwner(window);
    return window;
}

bool frmErase::Erasing() const {
    return m_runner->IsRunning();
}

void frmErase::BuildControls() {
    m_chkQuikErase = new QCheckBox(QText(EraseText::QuickErase), this);
    m_chkQuikErase->setObjectName(QStringLiteral("chkQuikErase"));
    m_chkQuikErase->setGeometry(20, 16, 354, 24);
    m_chkQuikErase->setChecked(true);
    m_lblEraseMsg = new QLabel(QText(EraseText::QuickEraseWarning), this);
    m_lblEraseMsg->setObjectName(QStringLiteral("lblEraseMsg"));
    m_lblEraseMsg->setGeometry(20, 48, 354, 84);
    m_lblEraseMsg->setWordWrap(true);
    m_lblEraseMsg->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_lblStatus = new QLabel(QText(EraseText::StatusCaption), this);
    m_lblStatus->setObjectName(QStringLiteral("lblStatus"));
    m_lblStatus->setGeometry(20, 148, 60, 22);
    m_lblStat = new QLabel(QText(EraseText::StatusWaiting), this);
    m_lblStat->setObjectName(QStringLiteral("LblStat"));
    m_lblStat->setGeometry(84, 148, 290, 22);
    m_cmdErase = new QPushButton(QText(EraseText::EraseButton), this);
    m_cmdErase->setObjectName(QStringLiteral("cmdErase"));
    m_cmdErase->setGeometry(164, 220, 100, 30);
    m_cmdErase->setEnabled(false);
    m_cmdCancel = new QPushButton(QText(EraseText::CancelButton), this);
    m_cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    m_cmdCancel->setGeometry(274, 220, 100, 30);
    connect(m_cmdErase, &QPushButton::clicked, this, &frmErase::StartErase);
    connect(m_cmdCancel, &QPushButton::clicked, this, &QWidget::close);
}

void frmErase::Timer1Tick() {
    const bool ready = m_presence.ReadyToStart(CurrentDrive());
    m_cmdErase->setEnabled(ready);
    // The last erase's outcome belongs to the disc it erased, not to the next.
    if (ready && m_presence.NewMedium()) m_lblStat->setText(QText(EraseText::StatusWaiting));
}

void frmErase::StartErase() {
    m_timer1->stop();
    m_cmdErase->setEnabled(false);
    const std::string drive = CurrentDrive();
    const bool quick = m_chkQuikErase->isChecked();
    m_runner->Start(
        [this, drive, quick](EngineReporter& reporter) {
            m_lastOutcome = EraseEngine(reporter).Run(drive, quick);
        },
        drive);
}

void frmErase::OnEraseFinished() {
    // The erase itself makes the disc look new to the watch: take it in
    // here, so that the outcome stays until another disc comes.
    (void)m_presence.ReadyToStart(CurrentDrive());
    m_timer1->start();
    emit eraseFinished();
}

void frmErase::closeEvent(QCloseEvent* event) {
    // Closing now would destroy the window under the running erase.
    if (m_runner->IsRunning()) {
        event->ignore();
        return;
    }
    event->accept();
}
