#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "EngineReporter.h"

// An EngineReporter for tests: keeps every text, and phases and messages also
// in one sequence ("phase:TEXT", "message:TITLE|TEXT"); answers questions
// from a queue (default Yes / Ok); asks to stop from the (cancelAt + 1)-th
// cancel check on (never while cancelAt is negative); notes whether the drive
// was marked busy at every cancel check; calls hooks at phases and checks.
class ScriptedReporter : public EngineReporter {
  public:
    struct ShownMessage {
        std::string text, title;
        MessageIcon icon;
        MessageButtons buttons;
        std::size_t commandsBefore;  // commandCount() when the message came, else 0
        bool driveBusy;              // whether the drive was marked busy then
    };

    void PhaseText(const std::string& text) override;
    void PercentText(const std::string& text) override { percents.push_back(text); }
    void ElapsedText(const std::string& text) override { elapsed.push_back(text); }
    void Progress(int value) override { progress.push_back(value); }
    MessageAnswer Message(const std::string& text, const std::string& title, MessageIcon icon,
                          MessageButtons buttons) override;
    bool CancelRequested() override;

    void QueueAnswer(MessageAnswer answer) { answers.push_back(answer); }
    // The text of the last message shown, empty when none was.
    std::string LastMessage() const { return messages.empty() ? "" : messages.back().text; }
    // The messages shown, as "TITLE|TEXT", in order.
    std::vector<std::string> Messages() const;

    std::vector<std::string> phases, percents, elapsed, events;
    std::vector<int> progress;
    std::vector<ShownMessage> messages;
    std::deque<MessageAnswer> answers;
    int cancelAt = -1;
    int cancelChecks = 0;
    bool busyAtCancelChecks = true;
    std::function<void(const std::string&)> onPhase;
    std::function<void()> onCancelCheck;
    std::function<std::size_t()> commandCount;
};
