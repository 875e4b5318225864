#pragma once

#include <QPixmap>
#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "MainWindowLink.h"
#include "StartUpArguments.h"
#include "TransportFactory.h"

class EngineRunner;
class InstanceLock;
class MouseLabel;
class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QPushButton;
class frmCDorDVD;

// The main window: loading it starts the program. It lists the optical
// drives, offers the four tasks (data disc, audio CD, record an image file,
// copy a disc) and the tray, tools and help menus.
class frmMain : public QWidget, public MainWindowLink {
    Q_OBJECT
  public:
    // How start-up gets the transport; the default is the platform's
    // pass-through, then the virtual drives of MAPLE_VIRTUAL_DRIVES.
    using TransportMaker = std::function<TransportChoice()>;

    explicit frmMain(TransportMaker makeTransport = {});
    ~frmMain() override;

    // The start-up sequence. Returns false when the program must end
    // (another instance runs, or no transport could be created).
    bool Load();

    // Fills CboDrv with one entry per drive that answers INQUIRY and selects
    // the first or the last entry.
    void RefreshDriveList(bool selectLast);
    // Probes drive `index` (1-based table index) and adds its entry.
    void AddDrive(std::int16_t index);

    // Starts the record-image task with `image` chosen, as the desktop asks
    // when it opens an image file with the program.
    void RecordImage(const QString& image);

    // What the program was started with: opens the record-image window, or
    // the data disc or audio window with the files added as a drop adds
    // them. False for an empty request (the main window shows then).
    bool OpenRequest(const StartUpRequest& request);
    // A second start's arguments (StartUpArgumentsOf): opened as at start
    // when this window waits for a task, added to the matching idle task
    // window, else refused with a message in the window the user is in.
    // False when no window can take care of them.
    bool TakeHandedOver(const QStringList& arguments);

    // The task picture under the mouse: 0 to 3, 4 for none. It only decides
    // the highlight; task windows read StartedTask().
    std::uint8_t HoveredTask() const { return m_hoveredTask; }
    // The chooser while it is open.
    frmCDorDVD* Chooser() const;

    // MainWindowLink
    std::string CurrentDrive() const override;
    bool DriveListEmpty() const override;
    int StartedTask() const override { return m_startedTask; }
    QWidget* Window() override { return this; }

  signals:
    // The user ended the program (closed the window or pressed Exit).
    void endProgram();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    // frmMain_Layout.cpp
    void BuildControls();
    void BuildTaskControls();
    void BuildMenus();
    void ConnectControls();
    // frmMain_StartUp.cpp
    // The task pictures and the drive-select label are buttons for the keyboard.
    void ActAsButtons();
    void ApplyStyle();
    bool CreateTransportOrEnd();
    void SetDriveMenusEnabled(bool enabled);
    // The window opens where the user left it ("MainLeft", "MainTop", twips).
    void RestorePosition();
    void StorePosition();
    // frmMain_Requests.cpp
    void AddToTaskWindow(StartUpRequest::Kind kind, const QStringList& paths);
    // frmMain_Tasks.cpp
    void HoverTask(std::uint8_t task);
    void StoreChooserPosition();
    void ShowChooser();
    void CloseChooser();
    void StartTask(std::uint8_t task);
    // Opens the window of `task` in place of this one.
    void OpenTask(int task, int chosenMedium);
    void OnDataDiscChosen(int medium);
    void SelectDefaultDrive(bool last);
    void MoveTray(bool load);
    void PopUp(QMenu* menu, QWidget* below);

    TransportMaker m_makeTransport;
    std::unique_ptr<InstanceLock> m_instanceLock;
    EngineRunner* m_trayRunner = nullptr;

    std::array<MouseLabel*, 4> m_picture1{};
    std::array<MouseLabel*, 4> m_lblText{};
    MouseLabel* m_picture2 = nullptr;
    QLabel* m_lblDiscType = nullptr;
    QLabel* m_imgDiscType = nullptr;
    MouseLabel* m_lblInfo = nullptr;
    QLabel* m_label1 = nullptr;
    MouseLabel* m_label2 = nullptr;
    MouseLabel* m_lblDrvSel = nullptr;
    QComboBox* m_cboDrv = nullptr;
    QPushButton* m_cmdAbout = nullptr;
    QPushButton* m_cmdTools = nullptr;
    QPushButton* m_cmdExit = nullptr;

    QMenu* m_meuDrvSel = nullptr;
    QMenu* m_meutray = nullptr;
    QMenu* m_meutools = nullptr;
    QMenu* m_meuHelp = nullptr;
    QAction* m_meuSelectFirstDrive = nullptr;
    QAction* m_meuSelectLastDrive = nullptr;
    QAction* m_meuEject = nullptr;
    QAction* m_meuLoadTray = nullptr;
    QAction* m_meuDiscInfo = nullptr;
    QAction* m_meuEraseDisc = nullptr;
    QAction* m_meuHelpFile = nullptr;
    QAction* m_meuVisitMyWeb = nullptr;
    QAction* m_meuMailToMe = nullptr;
    QAction* m_meuAbout = nullptr;

    // Large task images of the built-in look and of the alternative style.
    std::array<QPixmap, 4> m_builtInImages;
    std::array<QPixmap, 4> m_styleImages;
    bool m_alternativeStyle = false;

    std::uint8_t m_hoveredTask = Task::kNone;
    int m_startedTask = Task::kNone;
    QPoint m_storedChooserPosition{-1, -1};
    QPointer<frmCDorDVD> m_chooser;
};
