#pragma once

#include <QWidget>
#include <optional>
#include <vector>

#include "CloseDuringRun.h"
#include "DiscCopier.h"
#include "EngineOutcome.h"
#include "WindowParts.h"

class EngineRunner;
class QCheckBox;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;
class SpeedListBox;

// The disc copy window: reads the disc in the current drive sector by
// sector into an image, either an .ISO file the user names or the temporary
// image that the record-image window then records on a blank disc. The
// reading runs in DiscCopier on a worker thread and can be cancelled. With
// another recorder chosen, Next hands the copy to the record-image window,
// which reads and records at once.
class frmSaveISO2 : public QWidget {
    Q_OBJECT
  public:
    explicit frmSaveISO2(QWidget* parent = nullptr);
    // Waits for a running copy before the window's state goes away.
    ~frmSaveISO2() override;

    // Opens a new copy window for the main window's copy task.
    static void Open(int chosenMedium);

    // True from Next until the copy's last message is answered.
    bool Copying() const;
    // How the last Next ended (none before the first).
    std::optional<CopyOutcome> LastOutcome() const { return m_lastOutcome.Get(); }

  public slots:
    // Timer1: Next follows the medium in the current drive; a new medium
    // gets its read speed list.
    void Timer1Tick();
    // Next: copies the disc on a worker thread (or hands it over).
    void Next();

  signals:
    // A copy request has ended (whatever its outcome).
    void copyFinished();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    // frmSaveISO2_Layout.cpp
    void BuildControls();
    void BuildOptions();
    void BuildButtons();
    void ShowNextPurpose();
    // frmSaveISO2_Target.cpp: the target drive, when there are several recorders
    void BuildTargetChoice();
    void FillTargetChoice();
    void TargetChanged();
    std::string TargetDrive() const;
    void HandOver(const CopyOptions& options, const std::string& target);
    // frmSaveISO2.cpp
    void ConnectControls();
    void Load();
    std::string AskImagePath();
    void OnCopyFinished();

    EngineRunner* m_runner;
    CloseDuringRun m_closing;  // a close during the copy cancels it
    EngineOutcome<CopyOutcome> m_lastOutcome;

    QLabel* m_label1 = nullptr;
    QLabel* m_label2 = nullptr;
    QLabel* m_label3 = nullptr;
    QLabel* m_label4 = nullptr;
    QLabel* m_lblSourceDisc = nullptr;
    SpeedListBox* m_cboReadSpeed = nullptr;
    QCheckBox* m_chkCreateISOonly = nullptr;
    QCheckBox* m_chkBadCopy = nullptr;
    QProgressBar* m_prg = nullptr;
    QLabel* m_imgtea = nullptr;
    std::vector<QLabel*> m_panels;
    QPushButton* m_cmdCancel = nullptr;
    QPushButton* m_cmdNext = nullptr;
    QPushButton* m_cmdBack = nullptr;
    QPushButton* m_cmdAbout = nullptr;
    WindowParts::HelpMenu m_help{};
    QTimer* m_timer1 = nullptr;
    QLabel* m_lblTarget = nullptr;
    QComboBox* m_cboTarget = nullptr;  // first entry: the same drive
    QString m_sourceName;              // the current drive's label, for the hand-over
};
