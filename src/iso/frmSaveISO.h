#pragma once

#include <QStringList>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "DiscProject.h"
#include "SaveIsoTexts.h"

class EngineRunner;
class MouseLabel;
class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMimeData;
class QProgressBar;
class QPushButton;
class QSplitter;
class QStatusBar;
class QTabBar;
class QTreeWidget;
class QTreeWidgetItem;
class ucTreeView;

// The data disc project window: the user assembles the directories and files
// of a data disc, edits its volume fields and presses Next, which builds the
// image on a worker thread, either into an .ISO file of the user's choice or
// into the temporary image that the record-image window records. The rules
// of every edit live in DiscProject; this window mirrors it into its tree and
// list.
class frmSaveISO : public QWidget {
    Q_OBJECT
  public:
    explicit frmSaveISO(DiscKind kind, QWidget* parent = nullptr);
    ~frmSaveISO() override;

    // Opens the window for the data disc task (medium 0 CD, 1 DVD).
    static void Open(int chosenMedium);
    // With a disc in the current drive that holds data and takes more, asks
    // whether to continue it (the project starts from its files) or to
    // start a new project (Open asks once the window shows).
    void OfferToContinue();

    DiscProject& Project() { return *m_project; }
    bool Building() const;
    // Adds local files and folders to the selected directory as a drop from
    // the desktop does; workFinished() follows.
    void AddDroppedFiles(const QStringList& paths);

  signals:
    // Work on the worker thread (adding dropped files, a build) has ended
    // and the window shows its outcome.
    void workFinished();

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    enum class LastClicked { Tree, List };

    // Construction (frmSaveISO.cpp, frmSaveISO_Layout.cpp).
    void BuildControls();
    void BuildFileSystemPage();
    void BuildVolumePage();
    void BuildVolumeBoxes(QWidget* frame);
    void BuildDateBoxes();
    void BuildButtons();
    void BuildMenus();
    void LoadStylePictures();
    void ConnectControls();
    void ConnectVolumePage();
    void ConnectTree();
    void ConnectMenus();

    // The tree and the list (frmSaveISO_Tree.cpp).
    void ShowNewProject(SaveIsoText rootName);
    void AddChildNodes(QTreeWidgetItem* node);
    void RebuildBelow(QTreeWidgetItem* node);
    void FillList();
    void RefreshSize(bool newProject = false);
    std::string CurrentKey() const;
    void NewDirectory();
    void RemoveDirectory();
    void RenameDirectory(QTreeWidgetItem* node, QString& text, bool& cancel);
    void RemoveFiles();
    bool RenameFile(int row, QString& text);
    void DeleteSelected();
    void RenameSelected();
    void Refuse(Refusal refusal, const QString& name = {});
    void ShowList(SaveIsoText message, const std::vector<std::string>& items);

    // Drag and drop (frmSaveISO_Drops.cpp).
    Qt::DropAction DropEffect(const QMimeData* data, QObject* source, QTreeWidgetItem* node) const;
    void DropOnTree(const QMimeData* data, QObject* source, QTreeWidgetItem* node,
                    Qt::DropAction& effect);
    void AddDropped(const std::string& key, const std::vector<std::string>& paths,
                    bool replaceOnDisc = false);
    bool AskToReplace(const std::vector<std::string>& clashes);
    void MoveDirectory(QTreeWidgetItem* dragged, QTreeWidgetItem* target);
    void MoveFiles(QTreeWidgetItem* target);
    bool ListDragEvent(QEvent* event);
    // Ask for files or a folder and add them as a drop does.
    void AskForFiles();
    void AskForFolder();

    // Volume fields (frmSaveISO_Volume.cpp).
    void ShowDescriptorForm(int form);
    void ShowBoxes();
    void CommitBox(int field);
    void CommitAllBoxes();
    void DateEdited();
    void SetDateNow();
    void MarkDate(bool valid);
    void UpdateNextToolTip();
    void MarkVeltracLink(bool hovered);

    // Continuing the disc in the drive (frmSaveISO_Continue.cpp).
    // True when the disc that was continued is still in its drive, as it was;
    // otherwise says so.
    bool SameDiscInDrive();
    // "start track grow" of the image, for the recording ("" for a new disc).
    std::string SessionSetting() const;

    // Next and the build (frmSaveISO_Next.cpp).
    void Next();
    bool ReadyToBuild();
    void StartBuild(const std::string& path, bool isoOnly);
    void BuildEnded(const std::string& path, bool isoOnly);
    void ShowBuildFailure(const DiscProject::BuildResult& result);
    void HandOverToRecording();
    void RunOnWorker(std::function<void(EngineReporter&)> work, std::function<void()> then);

    // Handed to the runner's worker while it adds files or builds the image:
    // the window reads or changes the project (and the worker's results
    // below) only once the runner has finished; the controls that would are
    // locked meanwhile.
    std::unique_ptr<DiscProject> m_project;
    // The disc the project continues (its drive and where the image goes).
    struct ContinuedDisc {
        std::string drive;
        std::int64_t writeAt = 0;
        std::uint16_t track = 1;
        bool grow = false;
    } m_continued;
    EngineRunner* m_runner = nullptr;
    std::function<void()> m_afterRun;
    DiscProject::BuildResult m_buildResult;
    DiscProject::AddResult m_addResult;
    LastClicked m_lastClicked = LastClicked::Tree;
    int m_form = 0;  // 0 ISO 9660, 1 Joliet
    bool m_dateValid = true;

    QTabBar* m_tabstrip = nullptr;
    QWidget* m_picInfo = nullptr;
    QWidget* m_picVD = nullptr;
    QLabel* m_lblInfo = nullptr;
    QSplitter* m_spltMain = nullptr;
    ucTreeView* m_tvwDirs = nullptr;
    QTreeWidget* m_lvwFiles = nullptr;
    QGroupBox* m_frame1 = nullptr;
    QGroupBox* m_frame2 = nullptr;
    std::array<QLabel*, 8> m_label1{};
    QLabel* m_label2 = nullptr;
    QComboBox* m_cboDescr = nullptr;
    std::array<QLineEdit*, DiscProject::kFieldCount> m_boxes{};
    QLabel* m_lblFileSysType = nullptr;
    QLabel* m_lblFileSysInfo = nullptr;
    QLabel* m_lblMoreInfo = nullptr;
    MouseLabel* m_lblVeltracODD = nullptr;
    QLineEdit* m_dateCreation = nullptr;
    QLineEdit* m_timeCreation = nullptr;
    QPushButton* m_cmdSetDate = nullptr;
    QCheckBox* m_chkCreateISOonly = nullptr;
    QCheckBox* m_chkDirect = nullptr;  // record without a temporary image ("DirectRecording")
    QPushButton* m_cmdNext = nullptr;
    QPushButton* m_cmdBack = nullptr;
    QPushButton* m_cmdNewPrj = nullptr;
    QPushButton* m_cmdDel = nullptr;
    QPushButton* m_cmdRen = nullptr;
    QPushButton* m_cmdAddFiles = nullptr;
    QPushButton* m_cmdAddFolder = nullptr;
    QPushButton* m_cmdAbout = nullptr;
    QPushButton* m_cmdCancel = nullptr;
    QProgressBar* m_prg = nullptr;
    QStatusBar* m_sbar = nullptr;
    QLabel* m_panel1 = nullptr;
    QLabel* m_panel2 = nullptr;
    QMenu* m_meuMenuDir = nullptr;
    QMenu* m_meuMenuFiles = nullptr;
    QMenu* m_meuHelp = nullptr;
    QAction* m_meuDirNew = nullptr;
    QAction* m_meuDirRemove = nullptr;
    QAction* m_meuDirRen = nullptr;
    QAction* m_meuFilesAdd = nullptr;
    QAction* m_meuFolderAdd = nullptr;
    QAction* m_meuFilesRem = nullptr;
    QAction* m_meuFileRen = nullptr;
    QAction* m_meuHelpFile = nullptr;
    QAction* m_meuAbout = nullptr;
};
