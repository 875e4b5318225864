#pragma once

#include <QWidget>
#include <atomic>

#include "EraseEngine.h"
#include "MediaPresenceWatch.h"

class EngineRunner;
class QCheckBox;
class QLabel;
class QPushButton;
class QTimer;

// The erase window: blanks the rewritable disc in the current drive quickly
// (minimal blank) or completely. The erase runs on a worker thread; the
// window keeps repainting and cannot be closed until it is over.
class frmErase : public QWidget {
    Q_OBJECT
  public:
    explicit frmErase(QWidget* parent = nullptr);
    // Waits for a running erase before the window's state goes away.
    ~frmErase() override;

    // Shows the one erase window of the program, creating it when needed.
    static frmErase* ShowWindow();

    // True while an erase request (from the confirmation to the last
    // message) is running.
    bool Erasing() const;
    // How the last erase request ended.
    EraseOutcome LastOutcome() const { return m_lastOutcome.load(); }

  public slots:
    // One tick of Timer1: Erase is enabled exactly while a medium is present
    // and no other operation has the drive.
    void Timer1Tick();

  signals:
    // An erase request has ended (whatever its outcome).
    void eraseFinished();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildControls();
    void StartErase();
    void OnEraseFinished();

    MediaPresenceWatch m_presence;
    EngineRunner* m_runner = nullptr;
    std::atomic<EraseOutcome> m_lastOutcome{EraseOutcome::Declined};
    QCheckBox* m_chkQuikErase = nullptr;
    QLabel* m_lblEraseMsg = nullptr;
    QLabel* m_lblStatus = nullptr;
    QLabel* m_lblStat = nullptr;
    QPushButton* m_cmdErase = nullptr;
    QPushButton* m_cmdCancel = nullptr;
    QTimer* m_timer1 = nullptr;
};
