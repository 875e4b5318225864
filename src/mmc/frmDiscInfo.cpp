#include "frmDiscInfo.h"

#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include "DriveBusy.h"
#include "LanguageTexts.h"
#include "MainWindowLink.h"
#include "Twips.h"
#include "WindowPlacement.h"
#include "WindowTexts.h"

namespace {
constexpr int kWidthTwips = 6030;
constexpr int kHeightTwips = 4530;
constexpr int kTickMs = 200;

struct InfoRow {
    const char* caption;  // control name and language key
    const char* builtIn;
    const char* value;  // control name of the value label
};
constexpr std::array<InfoRow, 5> kRows = {{
    {"lblDiscType", "碟片类型:", "lblValueDiscType"},
    {"lblSessions", "总区段数目:", "lblValueSessions"},
    {"LblTrackNum", "总轨道数目:", "LblValueTrackNum"},
    {"lblDiscStatus", "碟片状态:", "lblValueDiscStatus"},
    {"lblSessionStatus", "最后区段状态:", "lblValueLastSessionStatus"},
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
    m_frameInfo = new QGroupBox(QString::fromUtf8("碟片信息"), this);
    m_frameInfo->setObjectName(QStringLiteral("frameInfo"));
    m_frameInfo->setGeometry(12, 10, 370, 196);
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        const int top = 30 + static_cast<int>(i) * 32;
        m_captions[i] = new QLabel(QString::fromUtf8(kRows[i].builtIn), m_frameInfo);
        m_captions[i]->setObjectName(QString::fromLatin1(kRows[i].caption));
        m_captions[i]->setGeometry(16, top, 150, 22);
        m_values[i] = new QLabel(QStringLiteral("N/A"), m_frameInfo);
        m_values[i]->setObjectName(QString::fromLatin1(kRows[i].value));
        m_values[i]->setGeometry(172, top, 180, 22);
        QFont bold = m_values[i]->font();
        bold.setBold(true);
        m_values[i]->setFont(bold);
    }
    m_cmdExit = new QPushButton(QString::fromUtf8("关闭(&C)"), this);
    m_cmdExit->setObjectName(QStringLiteral("cmdExit"));
    m_cmdExit->setGeometry(282, 226, 100, 30);
    connect(m_cmdExit, &QPushButton::clicked, this, &QWidget::close);
}

void frmDiscInfo::LoadTexts() {
    std::vector<TextBinding> table;
    for (std::size_t i = 0; i < kRows.size(); ++i)
        table.push_back({kRows[i].caption, TextTarget::Caption(m_captions[i])});
    table.push_back({"frameInfo", TextTarget::Caption(m_frameInfo)});
    table.push_back({"cmdExit", TextTarget::Caption(m_cmdExit)});
    ApplyLanguageTexts(LanguageTexts("frmDiscInfo"), table);
}

void frmDiscInfo::Load() {
    m_timer1->stop();
    LoadTexts();
    m_drive = CurrentDrive();
    // Another window's burn or erase owns the drive: the timer catches up later.
    if (!m_drive.empty() && !IsDriveBusy()) {
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
}
