#pragma once

#include <deque>
#include <string>
#include <vector>

#include "EngineReporter.h"

// An EngineReporter for tests: keeps every text and message, answers
// questions from a queue (default: Yes / Ok), and asks to stop from the
// (cancelAt + 1)-th cancel check on (never while cancelAt is negative).
class ScriptedReporter : public EngineReporter {
  public:
    struct ShownMessage {
        std::string text, title;
        MessageIcon icon;
        MessageButtons buttons;
    };

    void PhaseText(const std::string& text) override { phases.push_back(text); }
    void PercentText(const std::string& text) override { percents.push_back(text); }
    void ElapsedText(const std::string& text) override { elapsed.push_back(text); }
    void Progress(int value) override { progress.push_back(value); }
    MessageAnswer Message(const std::string& text, const std::string& title, MessageIcon icon,
                          MessageButtons buttons) override;
    bool CancelRequested() override { return cancelAt >= 0 && ++cancelChecks > cancelAt; }

    void QueueAnswer(MessageAnswer answer) { answers.push_back(answer); }
    // The text of the last message shown, empty when none was.
    std::string LastMessage() const { return messages.empty() ? "" : messages.back().text; }

    std::vector<std::string> phases, percents, elapsed;
    std::vector<int> progress;
    std::vector<ShownMessage> messages;
    std::deque<MessageAnswer> answers;
    int cancelAt = -1;
    int cancelChecks = 0;
};
