#include "EventReporter.h"

#include "DriveBusy.h"
#include "clsEmulatedDrive.h"

namespace {
const std::string kMessage = "message:";
}

void EventReporter::PhaseText(const std::string& text) {
    ScriptedReporter::PhaseText(text);
    events.push_back("phase:" + text);
    if (onPhase) onPhase(text);
}

MessageAnswer EventReporter::Message(const std::string& text, const std::string& title,
                                     MessageIcon icon, MessageButtons buttons) {
    events.push_back(kMessage + title + "|" + text);
    commandsAtMessage.push_back(m_drive ? m_drive->CommandLog().size() : 0);
    return ScriptedReporter::Message(text, title, icon, buttons);
}

bool EventReporter::CancelRequested() {
    busyAtCancelChecks = busyAtCancelChecks && IsDriveBusy();
    if (onCancelCheck) onCancelCheck();
    return ScriptedReporter::CancelRequested();
}

std::vector<std::string> EventReporter::Messages() const {
    std::vector<std::string> messages;
    for (const auto& event : events)
        if (event.rfind(kMessage, 0) == 0) messages.push_back(event.substr(kMessage.size()));
    return messages;
}
