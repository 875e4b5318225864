#pragma once

#include <QString>

class EngineRunner;
class QCloseEvent;
class QWidget;

// What a task window does when the user closes it while its engine runs.
// Closing then would take the window from under the engine, so the close is
// put off; depending on the window the engine is stopped through its cancel
// path and the window closes once the engine has returned.
class CloseDuringRun {
  public:
    enum class Rule {
        AskThenStop,  // a recording: stopping may spoil the disc, so the user is asked
        Stop,         // a read: stopping harms nothing, so it stops without asking
    };

    // `question` and `title` are the stop question of AskThenStop.
    CloseDuringRun(QWidget* window, EngineRunner* runner, Rule rule, QString question = {},
                   QString title = {});

    // For closeEvent: true when the window may close now; otherwise the
    // event is ignored (and the engine asked to stop, as the rule says).
    bool MayClose(QCloseEvent* event);
    // For a Cancel button: asks the stop question (AskThenStop) and stops
    // the engine at its next block when the user says Yes.
    void StopOnRequest();
    // For the engine's end: closes the window. While the stop question is
    // still on the screen (the job ended under it), the window closes once
    // the question has gone, since Qt ignores a close inside a close.
    void CloseWindow();
    // For the engine's end: the user has chosen to leave, so the window closes.
    bool Leaving() const { return m_leaving; }

  private:
    // The stop question (default No); true when the user said Yes.
    bool AskToStop();

    QWidget* m_window;
    EngineRunner* m_runner;
    Rule m_rule;
    QString m_question;
    QString m_title;
    bool m_leaving = false;
    bool m_asking = false;        // the stop question is open
    bool m_closePending = false;  // the window is to close once it has gone
};
