#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "ScriptedReporter.h"

class clsEmulatedDrive;

// A ScriptedReporter that also keeps phases and messages in one sequence
// ("phase:...", "message:TITLE|TEXT"), checks that the drive is marked busy
// whenever the engine asks whether to stop, calls hooks at phases and at
// those checks, and, given the drive, notes how many commands it had
// answered when each message appeared.
class EventReporter : public ScriptedReporter {
  public:
    explicit EventReporter(const clsEmulatedDrive* drive = nullptr) : m_drive(drive) {}

    void PhaseText(const std::string& text) override;
    MessageAnswer Message(const std::string& text, const std::string& title, MessageIcon icon,
                          MessageButtons buttons) override;
    bool CancelRequested() override;

    // The messages shown, as "TITLE|TEXT", in order.
    std::vector<std::string> Messages() const;

    std::vector<std::string> events;
    std::vector<std::size_t> commandsAtMessage;
    bool busyAtCancelChecks = true;
    std::function<void(const std::string&)> onPhase;
    std::function<void()> onCancelCheck;

  private:
    const clsEmulatedDrive* m_drive;
};
