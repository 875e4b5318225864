#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "EngineReporter.h"

class DriveBusyScope;
class QAction;
class QThread;
class QWidget;

// Runs a long operation (erase, burn, copy, image build, audio) on a worker
// thread so its window keeps repainting. The engine's reports reach the
// window as queued signals; a message box the engine asks for is shown by the
// window while the worker waits for the answer. The controls that could
// start a second operation are disabled for the run.
class EngineRunner : public QObject {
    Q_OBJECT
  public:
    using Engine = std::function<void(EngineReporter&)>;

    // `window` owns the runner and parents the message boxes.
    explicit EngineRunner(QWidget* window);
    // Waits for a running engine (its questions are answered No/Cancel).
    ~EngineRunner() override;

    // Controls disabled while an engine runs; each gets its former state back.
    void LockWhileRunning(std::vector<QWidget*> controls, std::vector<QAction*> menuItems = {});

    // Starts `engine` on the worker. Returns false when one is running. The
    // operation owns `drive` (when one is given): its busy flag is set for
    // the run, and polling windows leave that drive alone.
    bool Start(Engine engine, const std::string& drive = {});
    bool IsRunning() const { return m_thread != nullptr; }
    // Asks the running engine to stop at its next safe point (its reporter's
    // CancelRequested() turns true until the next Start).
    void Cancel();
    // From the engine's thread: runs `call` on the window's thread (a file
    // dialog the engine needs) and waits for it. Once the window has gone,
    // `call` is not run.
    void RunOnWindowThread(const std::function<void()>& call);
    // True while the engine waits for the window's thread (a question, a dialog).
    bool AwaitingWindow() const;
    // A recording, copy or erase: what the engine says (its end, as a rule)
    // while the user works in another window also goes out as a desktop
    // notice (DesktopNotice), since the job waits for the answer.
    void NotifyWhenAway() { m_notifyWhenAway = true; }

  signals:
    void phaseText(const QString& text);
    void percentText(const QString& text);
    void elapsedText(const QString& text);
    void progress(int value);
    void bufferLevels(int fifoPercent, int drivePercent);
    // The engine has returned; emitted on the window's thread.
    void finished();

  private:
    // The engine's side of the bridge (defined in the .cpp).
    class QueuedReporter;

    MessageAnswer AskOnWindowThread(const QString& text, const QString& title, MessageIcon icon,
                                    MessageButtons buttons);
    void OnThreadFinished();
    void SetLocked(bool locked);

    QWidget* m_window;
    QThread* m_thread = nullptr;
    std::unique_ptr<QueuedReporter> m_reporter;
    std::unique_ptr<DriveBusyScope> m_busy;
    std::vector<QPointer<QWidget>> m_controls;
    std::vector<QPointer<QAction>> m_menuItems;
    std::vector<bool> m_wasEnabled;
    bool m_notifyWhenAway = false;
};
