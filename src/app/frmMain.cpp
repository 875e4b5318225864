#include "frmMain.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLinearGradient>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

#include "DriveBusy.h"
#include "EngineRunner.h"
#include "InstanceLock.h"
#include "MouseLabel.h"
#include "TransportSlot.h"
#include "Twips.h"
#include "frmCDorDVD.h"

namespace {
constexpr int kWidthTwips = 10005;
constexpr int kHeightTwips = 7500;
}  // namespace

frmMain::frmMain(TransportMaker makeTransport)
    : QWidget(nullptr),
      m_makeTransport(std::move(makeTransport)),
      m_instanceLock(std::make_unique<InstanceLock>()) {
    setObjectName(QStringLiteral("frmMain"));
    setMouseTracking(true);
    BuildControls();
    BuildMenus();
    ConnectControls();
    Twips::FixWindowSize(*this, kWidthTwips, kHeightTwips);
    m_trayRunner = new EngineRunner(this);
    m_trayRunner->LockWhileRunning({}, {m_meuEject, m_meuLoadTray});
}

frmMain::~frmMain() {
    if (MainWindow() == this) SetMainWindow(nullptr);
}

std::string frmMain::CurrentDrive() const {
    const int entry = m_cboDrv->currentIndex();
    if (entry < 0 || Transport() == nullptr) return {};
    const auto index = static_cast<std::int16_t>(m_cboDrv->itemData(entry).toInt());
    return Transport()->DriveHandle(index);
}

frmCDorDVD* frmMain::Chooser() const {
    return m_chooser;
}

bool frmMain::DriveListEmpty() const {
    return m_cboDrv->count() == 0;
}

void frmMain::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) m_meutray->popup(event->globalPosition().toPoint());
    QWidget::mousePressEvent(event);
}

void frmMain::closeEvent(QCloseEvent* event) {
    // Ending the program in the middle of an erase or a burn would leave the
    // disc unusable: the window stays until the operation is over.
    if (AnyDriveBusy()) {
        event->ignore();
        return;
    }
    CloseChooser();
    if (isVisible()) StorePosition();
    event->accept();
    emit endProgram();
}

void frmMain::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    QPainter painter(this);
    QLinearGradient band(0, 0, width(), 0);
    band.setColorAt(0, QColor(0x1b, 0x3a, 0x6b));
    band.setColorAt(1, QColor(0x6f, 0x8f, 0xb5));
    painter.fillRect(0, 0, width(), 52, band);
    QFont title = font();
    title.setPointSize(title.pointSize() + 7);
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(Qt::white);
    painter.drawText(QRect(24, 0, width() - 48, 52), Qt::AlignVCenter | Qt::AlignLeft,
                     QStringLiteral("MAPLE CD/DVD Writer"));
    // The panel that shows the hovered task.
    painter.setPen(QColor(0xc8, 0xd3, 0xe0));
    painter.setBrush(QColor(0xf7, 0xf9, 0xfc));
    painter.drawRoundedRect(QRect(232, 150, 404, 252), 8, 8);
}
