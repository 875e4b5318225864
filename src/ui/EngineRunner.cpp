#include "EngineRunner.h"

#include <QAction>
#include <QThread>
#include <QWidget>

#include "DesktopNotice.h"
#include "DriveBusy.h"
#include "JobLog.h"
#include "MessageBoxSeam.h"
#include "WindowThreadCalls.h"

// The engine's side of the bridge: every call comes from the worker thread
// and is posted to the runner's (window) thread.
class EngineRunner::QueuedReporter : public EngineReporter {
  public:
    explicit QueuedReporter(EngineRunner* runner) : m_runner(runner) {}

    void PhaseText(const std::string& text) override {
        JobLog::Note(text);
        Post([runner = m_runner, t = QString::fromStdString(text)] { emit runner->phaseText(t); });
    }
    void PercentText(const std::string& text) override {
        Post(
            [runner = m_runner, t = QString::fromStdString(text)] { emit runner->percentText(t); });
    }
    void ElapsedText(const std::string& text) override {
        Post(
            [runner = m_runner, t = QString::fromStdString(text)] { emit runner->elapsedText(t); });
    }
    void Progress(int value) override {
        Post([runner = m_runner, value] { emit runner->progress(value); });
    }
    void BufferLevels(int fifoPercent, int drivePercent) override {
        Post([runner = m_runner, fifoPercent, drivePercent] {
            emit runner->bufferLevels(fifoPercent, drivePercent);
        });
    }

    MessageAnswer Message(const std::string& text, const std::string& title, MessageIcon icon,
                          MessageButtons buttons) override {
        JobLog::Note(title + ": " + text);
        MessageAnswer answer = CautiousAnswer(buttons);
        m_calls.Run([&, t = QString::fromStdString(text), c = QString::fromStdString(title)] {
            answer = m_runner->AskOnWindowThread(t, c, icon, buttons);
        });
        return answer;
    }

    bool CancelRequested() override { return m_calls.StopRequested(); }
    WindowThreadCalls& Calls() { return m_calls; }

  private:
    template <typename F>
    void Post(F&& call) {
        QMetaObject::invokeMethod(m_runner, std::forward<F>(call), Qt::QueuedConnection);
    }

    EngineRunner* m_runner;
    // Calls posted to the runner are dropped with it: the runner's destructor
    // abandons them first, on the window's thread.
    WindowThreadCalls m_calls{[this](std::function<void()> call) { Post(std::move(call)); }};
};

EngineRunner::EngineRunner(QWidget* window)
    : QObject(window), m_window(window), m_reporter(std::make_unique<QueuedReporter>(this)) {}

EngineRunner::~EngineRunner() {
    if (m_thread == nullptr) return;
    m_reporter->Calls().Abandon();
    m_thread->wait();
    delete m_thread;
    if (m_busy) (void)JobLog::End();
}

void EngineRunner::LockWhileRunning(std::vector<QWidget*> controls,
                                    std::vector<QAction*> menuItems) {
    m_controls.assign(controls.begin(), controls.end());
    m_menuItems.assign(menuItems.begin(), menuItems.end());
}

bool EngineRunner::Start(Engine engine, const std::string& drive) {
    if (m_thread != nullptr) return false;
    // Set on this thread before the worker starts, so no poll slips in between.
    if (!drive.empty()) m_busy = std::make_unique<DriveBusyScope>(drive);
    // A job on a drive leaves its log for a bug report.
    if (!drive.empty()) JobLog::Begin(m_window->objectName().toStdString());
    SetLocked(true);
    m_reporter->Calls().RequestStop(false);
    m_thread = QThread::create(
        [reporter = m_reporter.get(), engine = std::move(engine)] { engine(*reporter); });
    connect(m_thread, &QThread::finished, this, &EngineRunner::OnThreadFinished,
            Qt::QueuedConnection);
    m_thread->start();
    return true;
}

void EngineRunner::RunOnWindowThread(const std::function<void()>& call) {
    m_reporter->Calls().Run(call);
}

bool EngineRunner::AwaitingWindow() const {
    return m_reporter->Calls().Waiting();
}

void EngineRunner::Cancel() {
    if (m_thread != nullptr) m_reporter->Calls().RequestStop(true);
}

MessageAnswer EngineRunner::AskOnWindowThread(const QString& text, const QString& title,
                                              MessageIcon icon, MessageButtons buttons) {
    // What the job says now (its end, as a rule) settles a stop question the
    // window has open: that one goes, as if answered No.
    CloseMessageBoxes(m_window);
    if (m_notifyWhenAway && !m_window->isActiveWindow()) DesktopNotice::Show(m_window, title, text);
    return ShowMessageBox(m_window, text, title, icon, buttons);
}

void EngineRunner::OnThreadFinished() {
    if (m_thread == nullptr) return;
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    if (m_busy) (void)JobLog::End();
    m_busy.reset();
    SetLocked(false);
    CloseMessageBoxes(m_window);  // nothing is left to stop
    emit finished();
}

void EngineRunner::SetLocked(bool locked) {
    if (locked) m_wasEnabled.clear();
    std::size_t slot = 0;
    const auto apply = [&](auto& pointer) {
        if (locked) m_wasEnabled.push_back(pointer && pointer->isEnabled());
        const bool before = m_wasEnabled[slot++];
        if (pointer) pointer->setEnabled(locked ? false : before);
    };
    for (auto& control : m_controls) apply(control);
    for (auto& item : m_menuItems) apply(item);
}
