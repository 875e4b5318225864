#include "ScriptedReporter.h"

#include "DriveBusy.h"

void ScriptedReporter::PhaseText(const std::string& text) {
    phases.push_back(text);
    events.push_back("phase:" + text);
    if (onPhase) onPhase(text);
}

bool ScriptedReporter::CancelRequested() {
    busyAtCancelChecks = busyAtCancelChecks && AnyDriveBusy();
    if (onCancelCheck) onCancelCheck();
    return cancelAt >= 0 && ++cancelChecks > cancelAt;
}

MessageAnswer ScriptedReporter::Message(const std::string& text, const std::string& title,
                                        MessageIcon icon, MessageButtons buttons) {
    messages.push_back(
        {text, title, icon, buttons, commandCount ? commandCount() : 0, AnyDriveBusy()});
    events.push_back("message:" + title + "|" + text);
    if (!answers.empty()) {
        const MessageAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    return buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
}

std::vector<std::string> ScriptedReporter::Messages() const {
    std::vector<std::string> shown;
    for (const ShownMessage& message : messages)
        shown.push_back(message.title + "|" + message.text);
    return shown;
}
