#include "CloseDuringRun.h"

#include <QCloseEvent>
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
    if (m_rule == Rule::Refuse || m_leaving) return false;
    if (m_rule == Rule::AskThenStop &&
        ShowMessageBox(m_window, m_question, m_title, MessageIcon::Question,
                       MessageButtons::YesNo) != MessageAnswer::Yes)
        return false;
    m_leaving = true;
    m_runner->Cancel();
    return false;
}
