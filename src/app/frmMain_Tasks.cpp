// What the main window does with the mouse, the tasks and the menus.
#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QUrl>

#include "DesktopOpener.h"
#include "DriveBusy.h"
#include "EngineRunner.h"
#include "MainTexts.h"
#include "MouseLabel.h"
#include "ProgramStyle.h"
#include "SettingsStore.h"
#include "TaskWindows.h"
#include "Twips.h"
#include "WindowTexts.h"
#include "frmAbout.h"
#include "frmCDorDVD.h"
#include "frmDiscInfo.h"
#include "frmErase.h"
#include "frmMain.h"
#include "modMMCBasic.h"

namespace {
const QColor kHighlight(0, 128, 0);
const QColor kNormal(255, 255, 255);
constexpr const char* kWebPage = "https://www.maple-writer.org/";
constexpr const char* kMailTo = "mailto:support@maple-writer.org";
// What each task does, shown while the mouse is on its picture.
constexpr MainText kTaskInfo[] = {MainText::DataDiscInfo, MainText::AudioCdInfo,
                                  MainText::RecordImageInfo, MainText::CopyDiscInfo};
}  // namespace

void frmMain::ConnectControls() {
    for (std::uint8_t i = 0; i < 4; ++i) {
        connect(m_picture1[i], &MouseLabel::mouseMoved, this, [this, i] { HoverTask(i); });
        connect(m_picture1[i], &MouseLabel::clicked, this, [this, i] { StartTask(i); });
        connect(m_lblText[i], &MouseLabel::clicked, this, [this, i] { StartTask(i); });
    }
    connect(m_label2, &MouseLabel::mouseMoved, this, &frmMain::CloseChooser);
    connect(m_lblDrvSel, &MouseLabel::clicked, this, [this] { PopUp(m_meuDrvSel, m_lblDrvSel); });
    connect(m_lblInfo, &MouseLabel::rightButtonPressed, this,
            [this] { m_meutray->popup(QCursor::pos()); });
    connect(m_cmdAbout, &QPushButton::clicked, this, [this] { PopUp(m_meuHelp, m_cmdAbout); });
    connect(m_cmdTools, &QPushButton::clicked, this, [this] { PopUp(m_meutools, m_cmdTools); });
    connect(m_cmdExit, &QPushButton::clicked, this, &QWidget::close);

    connect(m_meuSelectFirstDrive, &QAction::triggered, this,
            [this] { SelectDefaultDrive(false); });
    connect(m_meuSelectLastDrive, &QAction::triggered, this, [this] { SelectDefaultDrive(true); });
    connect(m_meuEject, &QAction::triggered, this, [this] { MoveTray(false); });
    connect(m_meuLoadTray, &QAction::triggered, this, [this] { MoveTray(true); });
    connect(m_meuDiscInfo, &QAction::triggered, this, [] { frmDiscInfo::ShowWindow(); });
    connect(m_meuEraseDisc, &QAction::triggered, this, [] { frmErase::ShowWindow(); });
    connect(m_meuHelpFile, &QAction::triggered, this, [] {
        const QString manual = ProgramStyle::DataFile(QStringLiteral("User Manual.pdf"));
        if (QFileInfo(manual).isFile()) OpenWithDesktop(QUrl::fromLocalFile(manual));
    });
    connect(m_meuVisitMyWeb, &QAction::triggered, this,
            [] { OpenWithDesktop(QUrl(QString::fromLatin1(kWebPage))); });
    connect(m_meuMailToMe, &QAction::triggered, this,
            [] { OpenWithDesktop(QUrl(QString::fromLatin1(kMailTo))); });
    connect(m_meuAbout, &QAction::triggered, this, [] { frmAbout::ShowWindow(); });
}

void frmMain::HoverTask(std::uint8_t task) {
    if (task != m_hoveredTask) {
        m_picture1[task]->SetBackColor(kHighlight);
        if (task == Task::kDataDisc) m_picture2->SetBackColor(kHighlight);
        if (m_hoveredTask < Task::kNone) {
            m_picture1[m_hoveredTask]->SetBackColor(kNormal);
            if (m_hoveredTask == Task::kDataDisc) m_picture2->SetBackColor(kNormal);
        }
        m_lblDiscType->setText(m_lblText[task]->text());
        m_imgDiscType->setPixmap(m_alternativeStyle ? m_styleImages[task] : m_builtInImages[task]);
        m_lblInfo->setText(QText(kTaskInfo[task]));
        m_hoveredTask = task;
    }
    StoreChooserPosition();
    if (m_hoveredTask == Task::kDataDisc)
        ShowChooser();
    else
        CloseChooser();
}

void frmMain::StoreChooserPosition() {
    // Beside picture 0, past the strip that joins it to the chooser.
    const QPoint corner = m_picture1[0]->mapToGlobal(QPoint(m_picture1[0]->width(), 0));
    const QPoint twips = Twips::FromPixels(corner + QPoint(m_picture2->width(), 0));
    // Written only when it moved: the mouse moves far more often than the window.
    if (twips == m_storedChooserPosition) return;
    SaveProgramSetting("TempX0", std::to_string(twips.x()));
    SaveProgramSetting("TempY0", std::to_string(twips.y()));
    m_storedChooserPosition = twips;
}

void frmMain::ShowChooser() {
    if (m_chooser == nullptr) {
        m_chooser = new frmCDorDVD(this);
        connect(m_chooser, &frmCDorDVD::chosen, this, &frmMain::OnDataDiscChosen);
    }
    m_chooser->show();
}

void frmMain::CloseChooser() {
    if (m_chooser != nullptr) m_chooser->close();
}

void frmMain::StartTask(std::uint8_t task) {
    if (task == Task::kDataDisc) {
        StoreChooserPosition();
        ShowChooser();
        // From the keyboard, the choice goes on in the chooser.
        m_chooser->activateWindow();
        m_chooser->setFocus(Qt::OtherFocusReason);
        return;
    }
    OpenTask(task, ChosenMedium::kNothing);
}

void frmMain::OpenTask(int task, int chosenMedium) {
    m_startedTask = task;
    CloseChooser();
    OpenTaskWindow(task, chosenMedium);
    hide();
}

void frmMain::RecordImage(const QString& image) {
    m_startedTask = Task::kRecordImage;
    OpenRecordImageWindow(image);
    hide();
}

void frmMain::OnDataDiscChosen(int medium) {
    OpenTask(Task::kDataDisc, medium);
}

void frmMain::SelectDefaultDrive(bool last) {
    m_meuSelectFirstDrive->setChecked(!last);
    m_meuSelectLastDrive->setChecked(last);
    SaveProgramSetting("DefaultDrive", last ? "1" : "0");
}

void frmMain::MoveTray(bool load) {
    const std::string drive = CurrentDrive();
    // Another window's erase or burn owns the drive now.
    if (drive.empty() || IsDriveBusy(drive)) return;
    // The tray takes seconds to move: the window keeps repainting meanwhile.
    // The result is not shown, as with every tray command of the program.
    m_trayRunner->Start(
        [drive, load](EngineReporter&) {
            if (load)
                (void)modMMC::LoadTray(drive, modMMC::Immed::kOff);
            else
                (void)modMMC::EjectTray(drive, modMMC::Immed::kOff);
        },
        drive);
}

void frmMain::PopUp(QMenu* menu, QWidget* below) {
    menu->popup(below->mapToGlobal(QPoint(0, below->height())));
}
