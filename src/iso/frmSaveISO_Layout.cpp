// The controls and menus of the data disc project window.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTabBar>
#include <QTreeWidget>

#include "MouseLabel.h"
#include "PictureButton.h"
#include "Pictures.h"
#include "PopupMenus.h"
#include "ProgramStyle.h"
#include "RememberedOption.h"
#include "WindowTexts.h"
#include "frmSaveISO.h"
#include "ucTreeView.h"

namespace {
constexpr int kPageTop = 34;
constexpr QSize kPageSize(645, 334);
constexpr int kButtonTop = 404;

template <typename T>
T* Named(T* control, const char* name, QRect where) {
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(where);
    return control;
}

// The captions of the volume boxes (Label1(1) .. Label1(7)) and their boxes.
struct VolumeRow {
    const char* box;
    SaveIsoText caption;
};
constexpr VolumeRow kVolumeRows[DiscProject::kFieldCount] = {
    {"txtVolID", SaveIsoText::VolumeLabel},      {"txtSysID", SaveIsoText::SystemLabel},
    {"txtAppID", SaveIsoText::ApplicationLabel}, {"txtPubID", SaveIsoText::PublisherLabel},
    {"txtPrepID", SaveIsoText::PreparerLabel},   {"txtVolSetID", SaveIsoText::VolumeSetLabel},
    {"txtCopy", SaveIsoText::CopyrightLabel},
};
}  // namespace

void frmSaveISO::BuildControls() {
    m_tabstrip = Named(new QTabBar(this), "tabstrip", {8, 8, kPageSize.width(), 26});
    m_tabstrip->addTab(QText(SaveIsoText::FileSystemTab));
    m_tabstrip->addTab(QText(SaveIsoText::VolumeTab));
    m_tabstrip->setTabData(0, QStringLiteral("FS"));
    m_tabstrip->setTabData(1, QStringLiteral("VD"));
    m_tabstrip->setExpanding(false);
    BuildFileSystemPage();
    BuildVolumePage();
    BuildButtons();
    m_sbar = Named(new QStatusBar(this), "sbar", {0, 448, width(), 24});
    m_sbar->setSizeGripEnabled(false);
    m_panel1 = Named(new QLabel(QStringLiteral("Ready"), m_sbar), "Panels(1)", {});
    m_panel2 = Named(new QLabel(m_sbar), "Panels(2)", {});
    m_panel2->setMinimumWidth(230);
    m_sbar->addWidget(m_panel1, 1);
    m_sbar->addPermanentWidget(m_panel2);
}

void frmSaveISO::BuildFileSystemPage() {
    m_picInfo = Named(new QWidget(this), "picInfo", {QPoint(8, kPageTop), kPageSize});
    m_lblInfo =
        Named(new QLabel(QText(SaveIsoText::DropHint), m_picInfo), "lblInfo", {4, 8, 296, 22});
    // For those who do not drag (not in the original layout).
    m_cmdAddFiles = Named(new QPushButton(QText(SaveIsoText::AddFilesButton), m_picInfo),
                          "cmdAddFiles", {304, 4, 112, 30});
    m_cmdAddFolder = Named(new QPushButton(QText(SaveIsoText::AddFolderButton), m_picInfo),
                           "cmdAddFolder", {420, 4, 112, 30});
    m_cmdNewPrj = PictureButton(m_picInfo, "cmdNewPrj", "button_new", {537, 2, 34, 34},
                                QText(SaveIsoText::NewProjectTip));
    m_cmdDel = PictureButton(m_picInfo, "cmdDel", "button_delete", {574, 2, 34, 34},
                             QText(SaveIsoText::DeleteTip));
    m_cmdRen = PictureButton(m_picInfo, "cmdRen", "button_rename", {611, 2, 34, 34},
                             QText(SaveIsoText::RenameTip));
    m_spltMain = Named(new QSplitter(m_picInfo), "spltMain", {0, 40, kPageSize.width(), 294});
    m_tvwDirs = Named(new ucTreeView(m_spltMain), "tvwDirs", {});
    m_tvwDirs->InitializeImageList(16, 16);
    for (const char* picture : {"tree_disc", "tree_folder", "tree_folder_open"})
        m_tvwDirs->AddIcon(QIcon(Pictures::Load(QString::fromLatin1(picture), {16, 16})));
    m_lvwFiles = Named(new QTreeWidget(m_spltMain), "lvwFiles", {});
    m_lvwFiles->setRootIsDecorated(false);
    m_lvwFiles->setColumnCount(3);
    m_lvwFiles->setHeaderLabels({QText(SaveIsoText::NameColumn), QText(SaveIsoText::SizeColumn),
                                 QText(SaveIsoText::DateColumn)});
    m_lvwFiles->header()->resizeSection(0, 200);
    m_lvwFiles->header()->resizeSection(1, 80);
    m_lvwFiles->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_lvwFiles->setEditTriggers(QAbstractItemView::EditKeyPressed);
    m_lvwFiles->setDragEnabled(true);
    m_lvwFiles->setDragDropMode(QAbstractItemView::DragDrop);
    m_lvwFiles->setDefaultDropAction(Qt::CopyAction);
    m_lvwFiles->setContextMenuPolicy(Qt::CustomContextMenu);
    m_tvwDirs->setContextMenuPolicy(Qt::CustomContextMenu);
    m_spltMain->setSizes({210, 435});
}

void frmSaveISO::BuildVolumePage() {
    m_picVD = Named(new QWidget(this), "picVD", {QPoint(8, kPageTop), kPageSize});
    m_picVD->hide();
    m_picVD->setMouseTracking(true);
    m_frame1 =
        Named(new QGroupBox(QText(SaveIsoText::VolumeFrame), m_picVD), "Frame1", {0, 6, 380, 322});
    BuildVolumeBoxes(m_frame1);
    m_lblFileSysType = Named(new QLabel(QText(SaveIsoText::FileSystemName), m_picVD),
                             "LblFileSysType", {396, 12, 245, 22});
    QFont bold = m_lblFileSysType->font();
    bold.setBold(true);
    m_lblFileSysType->setFont(bold);
    m_lblFileSysInfo = Named(new QLabel(QText(SaveIsoText::FileSystemInfo), m_picVD),
                             "LblFileSysInfo", {396, 38, 245, 124});
    m_lblFileSysInfo->setWordWrap(true);
    m_lblFileSysInfo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    BuildDateBoxes();
    m_lblMoreInfo = Named(new QLabel(QText(SaveIsoText::MoreInfo), m_picVD), "LblMoreInfo",
                          {396, 278, 245, 22});
    m_lblVeltracODD = Named(new MouseLabel(m_picVD), "LblVeltracODD", {396, 304, 245, 22});
    m_lblVeltracODD->setText(QText(SaveIsoText::KnowledgeBase));
    m_lblVeltracODD->setCursor(Qt::PointingHandCursor);
    m_lblVeltracODD->setMouseTracking(true);
}

void frmSaveISO::BuildVolumeBoxes(QWidget* frame) {
    m_label1[7] = Named(new QLabel(QText(SaveIsoText::DescriptorLabel), frame), "Label1(8)",
                        {12, 28, 116, 24});
    m_cboDescr = Named(new QComboBox(frame), "cboDescr", {132, 28, 236, 24});
    m_cboDescr->addItems({QStringLiteral("ISO9660"), QStringLiteral("Joliet")});
    for (int i = 0; i < DiscProject::kFieldCount; ++i) {
        const int top = 66 + i * 36;
        m_label1[i] = Named(new QLabel(QText(kVolumeRows[i].caption), frame),
                            QStringLiteral("Label1(%1)").arg(i + 1).toLatin1().constData(),
                            {12, top, 116, 24});
        m_boxes[i] = Named(new QLineEdit(frame), kVolumeRows[i].box, {132, top, 236, 24});
        m_boxes[i]->installEventFilter(this);
    }
}

void frmSaveISO::BuildDateBoxes() {
    m_frame2 =
        Named(new QGroupBox(QText(SaveIsoText::DateFrame), m_picVD), "Frame2", {392, 170, 253, 98});
    m_label2 =
        Named(new QLabel(QText(SaveIsoText::DateLabel), m_frame2), "Label2(1)", {10, 24, 230, 22});
    m_dateCreation = Named(new QLineEdit(m_frame2), "dateCreation", {10, 54, 96, 26});
    m_timeCreation = Named(new QLineEdit(m_frame2), "timeCreation", {110, 54, 72, 26});
    m_cmdSetDate = Named(new QPushButton(QText(SaveIsoText::SetDateButton), m_frame2), "cmdSetDate",
                         {186, 53, 60, 28});
    m_cmdSetDate->setToolTip(QText(SaveIsoText::SetDateTip));
}

void frmSaveISO::BuildButtons() {
    m_chkCreateISOonly = Named(new QCheckBox(QText(SaveIsoText::ImageOnly), this),
                               "chkCreateISOonly", {10, 376, 330, 24});
    m_chkCreateISOonly->setToolTip(QText(SaveIsoText::ImageOnlyTip));
    m_chkDirect = Named(new QCheckBox(QText(SaveIsoText::DirectRecording), this), "chkDirect",
                        {60, 413, 420, 24});
    m_chkDirect->setToolTip(QText(SaveIsoText::DirectRecordingTip));
    RememberOption(m_chkDirect, "DirectRecording");
    m_prg = Named(new QProgressBar(this), "prg", {346, 379, 208, 18});
    m_prg->setRange(0, 100);
    m_prg->hide();
    m_cmdCancel = Named(new QPushButton(QText(SaveIsoText::CancelButton), this), "cmdCancel",
                        {562, 373, 91, 28});
    m_cmdCancel->hide();
    m_cmdAbout = PictureButton(this, "cmdAbout", "button_about", {8, kButtonTop, 42, 42},
                               QText(SaveIsoText::AboutTip));
    m_cmdBack = PictureButton(this, "cmdBack", "button_back", {563, kButtonTop, 42, 42},
                              QText(SaveIsoText::BackTip));
    m_cmdNext = PictureButton(this, "cmdNext", "button_next", {611, kButtonTop, 42, 42},
                              QText(SaveIsoText::NextTip));
}

void frmSaveISO::BuildMenus() {
    const auto AddItem = [](QMenu* menu, const char* name, SaveIsoText caption) {
        return PopupMenus::AddItem(menu, name, QText(caption));
    };
    m_meuMenuDir = PopupMenus::Create(this, "meuMenuDir");
    m_meuDirNew = AddItem(m_meuMenuDir, "meuDirNew", SaveIsoText::NewDirectory);
    m_meuDirRemove = AddItem(m_meuMenuDir, "meuDirRemove", SaveIsoText::RemoveDirectory);
    m_meuDirRen = AddItem(m_meuMenuDir, "meuDirRen", SaveIsoText::RenameDirectory);
    m_meuMenuFiles = PopupMenus::Create(this, "meuMenuFiles");
    m_meuFilesAdd = AddItem(m_meuMenuFiles, "meuFilesAdd", SaveIsoText::AddFilesMenu);
    m_meuFolderAdd = AddItem(m_meuMenuFiles, "meuFolderAdd", SaveIsoText::AddFolderMenu);
    // The tree adds into its selected directory as the list does.
    m_meuMenuDir->addSeparator();
    m_meuMenuDir->addActions({m_meuFilesAdd, m_meuFolderAdd});
    m_meuFilesRem = AddItem(m_meuMenuFiles, "meuFilesRem", SaveIsoText::RemoveFiles);
    m_meuFileRen = AddItem(m_meuMenuFiles, "meuFileRen", SaveIsoText::RenameFile);
    m_meuHelp = PopupMenus::Create(this, "meuHelp");
    m_meuHelpFile = AddItem(m_meuHelp, "meuHelpFile", SaveIsoText::HelpFile);
    m_meuAbout = AddItem(m_meuHelp, "meuAbout", SaveIsoText::About);
}

void frmSaveISO::LoadStylePictures() {
    const std::pair<QPushButton*, const char*> pictures[] = {
        {m_cmdDel, "Button_Del.bmp"},     {m_cmdRen, "Button_REN.bmp"},
        {m_cmdAbout, "Button_About.bmp"}, {m_cmdNewPrj, "Button_New.bmp"},
        {m_cmdBack, "Button_Back.bmp"},   {m_cmdNext, "Button_Next.bmp"},
    };
    for (const auto& [button, file] : pictures) {
        const QPixmap picture = ProgramStyle::Picture(QString::fromLatin1(file));
        if (!picture.isNull()) button->setIcon(QIcon(picture));
    }
}
