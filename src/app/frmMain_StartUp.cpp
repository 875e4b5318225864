// Start-up of the program and the drive list.
#include <QAction>
#include <QComboBox>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "DriveLabel.h"
#include "InstanceLock.h"
#include "MainTexts.h"
#include "MessageBoxSeam.h"
#include "MouseLabel.h"
#include "ProgramStyle.h"
#include "SettingsStore.h"
#include "TemporaryImage.h"
#include "TransportSlot.h"
#include "Twips.h"
#include "ValLike.h"
#include "WindowTexts.h"
#include "frmMain.h"

bool frmMain::Load() {
    ActAsButtons();
    if (!m_instanceLock->TryLock()) {
        ShowMessageBox(this, QText(MainText::AlreadyRunning), QText(MainText::NoticeTitle),
                       MessageIcon::Exclamation);
        return false;
    }
    TemporaryImage::RemoveStaleFiles();  // only one program runs: what is there is stale
    setWindowTitle(QStringLiteral("MAPLE CD/DVD Writer"));
    ApplyStyle();
    if (!CreateTransportOrEnd()) return false;
    const bool selectLast = ValLike(GetProgramSetting("DefaultDrive", "0")) != 0.0;
    m_meuSelectLastDrive->setChecked(selectLast);
    m_meuSelectFirstDrive->setChecked(!selectLast);
    RefreshDriveList(selectLast);
    m_hoveredTask = Task::kNone;
    SetMainWindow(this);
    RestorePosition();
    return true;
}

void frmMain::RestorePosition() {
    const std::string left = GetProgramSetting("MainLeft");
    const std::string top = GetProgramSetting("MainTop");
    if (left.empty() || top.empty()) return;  // centred on the screen when shown
    const QPoint position = Twips::ToPixels(QPoint(ValLikeInt(left), ValLikeInt(top)));
    // A screen that is gone (or smaller now) must not hide the window.
    const QScreen* screen = QGuiApplication::screenAt(position + QPoint(40, 10));
    if (screen != nullptr && screen->availableGeometry().contains(position)) move(position);
}

void frmMain::StorePosition() {
    const QPoint twips = Twips::FromPixels(pos());
    SaveProgramSetting("MainLeft", std::to_string(twips.x()));
    SaveProgramSetting("MainTop", std::to_string(twips.y()));
}

void frmMain::ActAsButtons() {
    for (int i = 0; i < 4; ++i) m_picture1[i]->ActAsButton(m_lblText[i]->text());
    m_lblDrvSel->ActAsButton(m_lblDrvSel->toolTip());
}

void frmMain::ApplyStyle() {
    m_alternativeStyle = ProgramStyle::AlternativeSelected();
    if (!m_alternativeStyle) return;
    const char* taskFiles[] = {"Disc_Data.ico", "Disc_CDAudio.ico", "Disc_Image.ico",
                               "Disc_Copy.ico"};
    for (int i = 0; i < 4; ++i) {
        const QPixmap picture = ProgramStyle::Picture(QString::fromLatin1(taskFiles[i]));
        if (!picture.isNull())
            m_picture1[i]->setPixmap(
                picture.scaled(48, 48, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    }
    const std::pair<QPushButton*, const char*> buttons[] = {{m_cmdAbout, "Button_About.bmp"},
                                                            {m_cmdTools, "Button_Tool.bmp"},
                                                            {m_cmdExit, "Button_Exit.bmp"}};
    for (const auto& [button, file] : buttons) {
        const QPixmap picture = ProgramStyle::Picture(QString::fromLatin1(file));
        if (!picture.isNull()) button->setIcon(QIcon(picture));
    }
}

bool frmMain::CreateTransportOrEnd() {
    TransportChoice choice = m_makeTransport
                                 ? m_makeTransport()
                                 : CreateTransport({VirtualDrivesFromEnvironment(), false});
    const QString problem = QString::fromStdString(choice.problem);
    if (!choice.transport) {
        QString text = QText(MainText::NoTransport);
        if (!problem.isEmpty()) text += QStringLiteral("\n\n") + problem;
        ShowMessageBox(this, text, QText(MainText::NoTransportTitle), MessageIcon::Exclamation);
        close();
        return false;
    }
    // Drives that exist but could not be opened (permissions) must not look
    // like missing drives.
    if (!problem.isEmpty())
        ShowMessageBox(this, problem, QText(MainText::NoticeTitle), MessageIcon::Exclamation);
    SetTransport(std::move(choice.transport));
    return true;
}

void frmMain::RefreshDriveList(bool selectLast) {
    m_cboDrv->clear();
    const std::int16_t count = Transport() != nullptr ? Transport()->DriveCount() : 0;
    for (std::int16_t index = 1; index <= count; ++index) AddDrive(index);
    if (m_cboDrv->count() > 0) {
        m_cboDrv->setCurrentIndex(selectLast ? m_cboDrv->count() - 1 : 0);
        SetDriveMenusEnabled(true);
        return;
    }
    // No drive, or none that answers: there is no current drive at all.
    ShowMessageBox(this, QText(MainText::NoDrive), QText(MainText::NoDriveTitle),
                   MessageIcon::Exclamation);
    SetDriveMenusEnabled(false);
}

void frmMain::AddDrive(std::int16_t index) {
    const auto label = BuildDriveLabel(*Transport(), index);
    if (!label) return;
    m_cboDrv->addItem(QString::fromLatin1(label->data(), static_cast<qsizetype>(label->size())),
                      QVariant(static_cast<int>(index)));
}

void frmMain::SetDriveMenusEnabled(bool enabled) {
    for (QAction* item : {m_meuDiscInfo, m_meuEraseDisc, m_meuEject, m_meuLoadTray})
        item->setEnabled(enabled);
}
