#pragma once

#include <QPointer>
#include <QWidget>
#include <optional>
#include <vector>

#include "CloseDuringRun.h"
#include "DiscCopier.h"
#include "EngineOutcome.h"
#include "ImageBurner.h"
#include "TemporaryImage.h"
#include "WindowParts.h"
#include "WriteCapabilities.h"

class EngineRunner;
class clsISOWriter;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMimeData;
class QProgressBar;
class QPushButton;
class QTimer;
class SpeedListBox;

// The record-image window: records an image file on a blank disc. For the
// record-image task the user picks the image (Browse or a drop); the data
// disc and copy windows hand over their temporary image ("TempISO") and
// stay hidden until the user comes back with Back. The recording runs in
// ImageBurner on a worker thread while the window shows its progress.
class frmWriteISO : public QWidget {
    Q_OBJECT
  public:
    // `task`: RecordingTask::kRecordImage records `imagePath` (the user may
    // change it); kDataDisc and kCopyDisc record the temporary image, and
    // `previous` is the hidden window Back returns to. `drive`: the drive
    // recorded on; none means the main window's current drive.
    explicit frmWriteISO(int task, const QString& imagePath = {}, QWidget* previous = nullptr,
                         std::string drive = {});
    // Waits for a running recording before the window's state goes away.
    ~frmWriteISO() override;

    // Opens the window for the record-image task, with `imagePath` chosen
    // when it is given (the main menu gives none).
    static frmWriteISO* OpenImage(const QString& imagePath = {});
    // Opens the window for the temporary image of `task` (data disc or
    // copy); `previous` has hidden itself and comes back on Back.
    static frmWriteISO* OpenTemporary(int task, QWidget* previous);
    // Opens the window to record the data disc `project` directly, with no
    // temporary image; `previous` (the project window, which owns the
    // project) has hidden itself and comes back on Back.
    static frmWriteISO* OpenProject(clsISOWriter& project, QWidget* previous);
    // Opens the window to record the disc in `source` on the blank in
    // `target` while it is read (`copy`: the copy window's read options),
    // with no temporary image; `previous` (the copy window) has hidden
    // itself and comes back on Back.
    static frmWriteISO* OpenDriveCopy(const CopyOptions& copy, const std::string& source,
                                      const QString& sourceName, const std::string& target,
                                      QWidget* previous);

    // True from Burn until the recording's last message is answered.
    bool Recording() const;
    // How the last recording ended (none before the first).
    std::optional<BurnOutcome> LastOutcome() const { return m_lastOutcome.Get(); }

  public slots:
    // Timer1: Burn follows the medium in the current drive; a new medium
    // gets its speed list.
    void Timer1Tick();
    // Burn: checks and records on a worker thread.
    void Burn();

  signals:
    // A recording request has ended (whatever its outcome).
    void burnFinished();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    // frmWriteISO_Layout.cpp
    void BuildControls();
    void BuildOptions();
    void BuildButtons();
    void ApplyStylePictures();
    // frmWriteISO_Drives.cpp: the target drives (several when ticked)
    struct TargetDrive {
        std::string drive, name;
    };
    void BuildDriveChoice();
    void FillDriveChoice();
    std::vector<TargetDrive> ChosenDrives() const;
    std::string Drive() const;
    void StartDriveCopy(const BurnOptions& options);
    // frmWriteISO.cpp
    void ConnectControls();
    void Load(const QString& imagePath);
    void Browse();
    static std::vector<QString> DroppedImages(const QMimeData* data);
    bool ImageConfirmed(const std::string& path);
    void OnBurnFinished();
    BurnOptions ChosenOptions() const;

    const int m_task;
    const BurnOptions m_taskOptions;  // the task's image, disc kind and temporary image
    QPointer<QWidget> m_previous;
    TemporaryImage m_temporary;  // the only file this window may delete
    WriteCapabilities m_capabilities;
    bool m_backToPrevious = false;
    EngineRunner* m_runner;
    CloseDuringRun m_closing;  // asks before a close or Cancel stops the recording
    bool m_testRun = false;
    clsISOWriter* m_project = nullptr;  // recorded directly instead of an image (OpenProject)
    const std::string m_drive;          // empty: the main window's current drive
    struct DriveCopySource {
        CopyOptions options;
        std::string drive;
    };
    std::optional<DriveCopySource> m_copySource;  // read while recorded (OpenDriveCopy)
    EngineOutcome<BurnOutcome> m_lastOutcome;

    QGroupBox* m_frame1 = nullptr;
    QLabel* m_label1 = nullptr;
    QLabel* m_label2 = nullptr;
    QLabel* m_label3 = nullptr;
    QLabel* m_lblInfo = nullptr;
    QLineEdit* m_txtISO = nullptr;
    QPushButton* m_cmdBrowse = nullptr;
    SpeedListBox* m_cboWriteSpeed = nullptr;
    QCheckBox* m_chkTestMode = nullptr;
    QCheckBox* m_chkFixDisc = nullptr;
    QCheckBox* m_chkEjectDisc = nullptr;
    QCheckBox* m_chkVerify = nullptr;
    QProgressBar* m_prg = nullptr;
    QLabel* m_lblBuffers = nullptr;  // the buffers' levels while a recording runs
    QLabel* m_imgtea = nullptr;
    std::vector<QLabel*> m_panels;
    QPushButton* m_cmdCancel = nullptr;  // shown while a recording runs
    QPushButton* m_cmdBurn = nullptr;
    QPushButton* m_cmdBack = nullptr;
    QPushButton* m_cmdTools = nullptr;
    QPushButton* m_cmdAbout = nullptr;
    WindowParts::ToolsMenu m_tools{};
    WindowParts::HelpMenu m_help{};
    QTimer* m_timer1 = nullptr;
    QLabel* m_lblDrives = nullptr;
    QListWidget* m_lstDrives = nullptr;  // empty unless several recorders may be chosen
};
