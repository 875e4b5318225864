#include "CloseDuringRun.h"

#include <QCloseEvent>
#include <QWidget>
#include <utility>

#include "EngineRunner.h"
#include "MessageBoxSeam.h"

CloseDuringRun::CloseDuringRun(QWidget* window, EngineRunner* runner, Rule rule, QString question,
                               QString title)
    : m_window(window),
      m_runner(runner),
      m_rule(rule),
      m_question(std::move(question)),
      m_title(std::move(title)) {}

bool CloseDuringRun::MayClose(QCloseEvent* event) {
    if (!m_runner->IsRunning()) {
        event->accept();
        return true;
    }
    event->ignore();
    // Asked once: a second close while the engine stops changes nothing.
    if (m_leaving || m_asking) return false;
    if (m_rule == Rule::AskThenStop && !AskToStop()) {
        // The job ended under the question, which went as a No: the window
        // does what it does after any job (its end asked for a close or not).
        if (!std::exchange(m_closePending, false)) return false;
        event->accept();
        return true;
    }
    m_leaving = true;
    m_runner->Cancel();
    return false;
}

void CloseDuringRun::StopOnRequest() {
    if (!m_runner->IsRunning() || m_asking) return;
    if (m_rule == Rule::Stop || AskToStop()) m_runner->Cancel();
    if (std::exchange(m_closePending, false)) m_window->close();
}

void CloseDuringRun::CloseWindow() {
    if (m_asking) {
        m_closePending = true;
        return;
    }
    m_window->close();
}

bool CloseDuringRun::AskToStop() {
    m_asking = true;
    const MessageAnswer answer =
        ShowMessageBox(m_window, m_question, m_title, MessageIcon::Question, MessageButtons::YesNo,
                       /*noIsDefault=*/true);
    m_asking = false;
    // The job's end closes the question, which then answers No.
    return answer == MessageAnswer::Yes;
}
