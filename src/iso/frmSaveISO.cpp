#include "frmSaveISO.h"
#include "WindowTexts.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QTabBar>
#include <QTreeWidget>
#include <QUrl>

#include "BlankCapacity.h"
#include "DesktopOpener.h"
#include "EngineRunner.h"
#include "FileAdding.h"
#include "LabelEditDelegate.h"
#include "MainWindowLink.h"
#include "MessageBoxSeam.h"
#include "ProgramStyle.h"
#include "Twips.h"
#include "frmAbout.h"
#include "ucTreeView.h"

namespace {
constexpr int kWidthTwips = 10035;
constexpr int kHeightTwips = 7530;
}  // namespace

frmSaveISO::frmSaveISO(DiscKind kind, QWidget* parent)
    : QWidget(parent, Qt::Window), m_project(std::make_unique<DiscProject>(kind)) {
    setObjectName(QStringLiteral("frmSaveISO"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Data Disc"));
    Twips::FixWindowSize(*this, kWidthTwips, kHeightTwips);
    BuildControls();
    BuildMenus();
    LoadStylePictures();
    m_runner = new EngineRunner(this);
    m_runner->LockWhileRunning(
        {m_tabstrip, m_picInfo, m_picVD, m_chkCreateISOonly, m_chkDirect, m_cmdNext, m_cmdBack},
        {m_meuDirNew, m_meuDirRemove, m_meuDirRen, m_meuFilesRem, m_meuFileRen, m_meuFilesAdd,
         m_meuFolderAdd});
    connect(m_runner, &EngineRunner::phaseText, m_panel1, &QLabel::setText);
    connect(m_runner, &EngineRunner::progress, m_prg, &QProgressBar::setValue);
    connect(m_runner, &EngineRunner::finished, this, [this] {
        const std::function<void()> then = std::move(m_afterRun);
        if (then) then();
        emit workFinished();
    });
    ConnectControls();
    ConnectVolumePage();
    ConnectTree();
    ConnectMenus();
    // The size line compares with the blank in the drive when there is one.
    if (MainWindow() != nullptr && !MainWindow()->DriveListEmpty())
        m_project->SetBlankCapacity(BlankCapacityBytes(MainWindow()->CurrentDrive()));
    ShowNewProject(kind == DiscKind::Dvd ? SaveIsoText::DvdDiscRoot : SaveIsoText::CdDiscRoot);
    ShowBoxes();
    // Without a drive there is nothing to record on: the image is all one can
    // make. (Ticking it also gives Next its "build the image" tool tip.)
    if (MainWindow() == nullptr || MainWindow()->DriveListEmpty()) {
        m_chkCreateISOonly->setChecked(true);
        m_chkCreateISOonly->setEnabled(false);
    }
    SetDateNow();
}

frmSaveISO::~frmSaveISO() {
    // The runner waits for a running build, which works on the project.
    delete m_runner;
}

void frmSaveISO::Open(int chosenMedium) {
    auto* window =
        new frmSaveISO(chosenMedium == ChosenMedium::kDvd ? DiscKind::Dvd : DiscKind::Cd);
    window->show();
    window->OfferToContinue();
}

bool frmSaveISO::Building() const {
    return m_runner->IsRunning();
}

void frmSaveISO::ConnectControls() {
    connect(m_tabstrip, &QTabBar::currentChanged, this, [this](int tab) {
        m_picInfo->setVisible(tab == 0);
        m_picVD->setVisible(tab == 1);
    });
    connect(m_chkCreateISOonly, &QCheckBox::toggled, this, &frmSaveISO::UpdateNextToolTip);
    // An image file is always built: recording directly has no meaning then.
    connect(m_chkCreateISOonly, &QCheckBox::toggled, m_chkDirect, &QWidget::setDisabled);
    connect(m_cmdNext, &QPushButton::clicked, this, &frmSaveISO::Next);
    connect(m_cmdBack, &QPushButton::clicked, this, [this] {
        // The project is lost on the way back: a project with files asks first.
        if (m_project->IsEmpty() ||
            ShowMessageBox(this, QText(SaveIsoText::LeaveProject), QText(SaveIsoText::NoticeTitle),
                           MessageIcon::Question, MessageButtons::YesNo) == MessageAnswer::Yes)
            close();
    });
    connect(m_cmdCancel, &QPushButton::clicked, m_runner, &EngineRunner::Cancel);
    connect(m_cmdNewPrj, &QPushButton::clicked, this, [this] {
        m_project->New();
        ShowNewProject(m_project->Kind() == DiscKind::Dvd ? SaveIsoText::DvdDiscRootAgain
                                                          : SaveIsoText::CdDiscRootAgain);
        ShowBoxes();
        SetDateNow();
    });
    connect(m_cmdDel, &QPushButton::clicked, this, &frmSaveISO::DeleteSelected);
    connect(m_cmdRen, &QPushButton::clicked, this, &frmSaveISO::RenameSelected);
    connect(m_cmdAbout, &QPushButton::clicked, this,
            [this] { m_meuHelp->popup(m_cmdAbout->mapToGlobal(QPoint(0, m_cmdAbout->height()))); });
    connect(m_meuHelpFile, &QAction::triggered, this, [] {
        const QString manual = ProgramStyle::DataFile(QStringLiteral("User Manual.pdf"));
        if (QFileInfo(manual).isFile()) OpenWithDesktop(QUrl::fromLocalFile(manual));
    });
    connect(m_meuAbout, &QAction::triggered, this, [] { frmAbout::ShowWindow(); });
}

void frmSaveISO::ConnectTree() {
    connect(m_tvwDirs, &QTreeWidget::currentItemChanged, this, &frmSaveISO::FillList);
    connect(m_tvwDirs, &QTreeWidget::itemPressed, this,
            [this] { m_lastClicked = LastClicked::Tree; });
    connect(m_lvwFiles, &QTreeWidget::itemPressed, this,
            [this] { m_lastClicked = LastClicked::List; });
    connect(m_tvwDirs, &ucTreeView::BeforeLabelEdit, this,
            [this](QTreeWidgetItem* node, bool& cancel) {
                cancel = m_tvwDirs->GetNodeKey(node) == QLatin1String(DiscProject::kRootKey);
            });
    connect(m_tvwDirs, &ucTreeView::AfterLabelEdit, this, &frmSaveISO::RenameDirectory);
    connect(m_tvwDirs, &ucTreeView::OLEStartDrag, this,
            [this](QTreeWidgetItem* node, Qt::DropActions& effects) {
                if (m_tvwDirs->GetNodeKey(node) == QLatin1String(DiscProject::kRootKey))
                    effects = Qt::IgnoreAction;
            });
    connect(m_tvwDirs, &ucTreeView::OLEDragOver, this,
            [this](const QMimeData* data, QObject* source, QTreeWidgetItem* node,
                   Qt::DropAction& effect) { effect = DropEffect(data, source, node); });
    connect(m_tvwDirs, &ucTreeView::OLEDragDrop, this, &frmSaveISO::DropOnTree);
    m_lvwFiles->setItemDelegateForColumn(
        0, new LabelEditDelegate([this](const QModelIndex& index,
                                        QString& text) { return RenameFile(index.row(), text); },
                                 m_lvwFiles));
    m_lvwFiles->viewport()->installEventFilter(this);
}

void frmSaveISO::ConnectMenus() {
    connect(m_tvwDirs, &QWidget::customContextMenuRequested, this, [this](QPoint at) {
        if (QTreeWidgetItem* node = m_tvwDirs->HitTest(at)) m_tvwDirs->setCurrentItem(node);
        m_lastClicked = LastClicked::Tree;
        m_meuMenuDir->popup(m_tvwDirs->viewport()->mapToGlobal(at));
    });
    connect(m_lvwFiles, &QWidget::customContextMenuRequested, this, [this](QPoint at) {
        m_lastClicked = LastClicked::List;
        m_meuMenuFiles->popup(m_lvwFiles->viewport()->mapToGlobal(at));
    });
    connect(m_meuDirNew, &QAction::triggered, this, &frmSaveISO::NewDirectory);
    connect(m_meuDirRemove, &QAction::triggered, this, &frmSaveISO::RemoveDirectory);
    connect(m_meuDirRen, &QAction::triggered, this,
            [this] { m_tvwDirs->StartLabelEdit(m_tvwDirs->SelectedNode()); });
    connect(m_meuFilesRem, &QAction::triggered, this, &frmSaveISO::RemoveFiles);
    connect(m_meuFilesAdd, &QAction::triggered, this, &frmSaveISO::AskForFiles);
    connect(m_meuFolderAdd, &QAction::triggered, this, &frmSaveISO::AskForFolder);
    connect(m_cmdAddFiles, &QPushButton::clicked, this, &frmSaveISO::AskForFiles);
    connect(m_cmdAddFolder, &QPushButton::clicked, this, &frmSaveISO::AskForFolder);
    FileAdding::Install(
        m_picInfo, [this] { AskForFiles(); },
        [this](const QStringList& paths) { AddDroppedFiles(paths); });
    connect(m_meuFileRen, &QAction::triggered, this, [this] {
        if (QTreeWidgetItem* item = m_lvwFiles->currentItem()) m_lvwFiles->editItem(item, 0);
    });
}

void frmSaveISO::RunOnWorker(std::function<void(EngineReporter&)> work,
                             std::function<void()> then) {
    m_afterRun = std::move(then);
    if (!m_runner->Start(std::move(work))) m_afterRun = nullptr;
}

bool frmSaveISO::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_lvwFiles->viewport()) return ListDragEvent(event);
    if (watched == m_picVD && event->type() == QEvent::MouseMove) MarkVeltracLink(false);
    for (int i = 0; i < DiscProject::kFieldCount; ++i)
        if (watched == m_boxes[i] && event->type() == QEvent::FocusOut) CommitBox(i);
    return QWidget::eventFilter(watched, event);
}

void frmSaveISO::closeEvent(QCloseEvent* event) {
    // Closing now would take the project away from the running build.
    if (m_runner->IsRunning()) return event->ignore();
    if (MainWindow() != nullptr) MainWindow()->Window()->show();
    event->accept();
}
