#pragma once

#include <QString>
#include <functional>
#include <optional>

class QWidget;

// An input box as a window asks for it.
struct InputBoxRequest {
    QWidget* parent = nullptr;
    QString prompt;
    QString title;
};

// Every input box of the windows goes through here: a modal box on the
// screen, or the handler a test installed. The typed text, or nothing when
// the user cancelled.
std::optional<QString> ShowInputBox(QWidget* parent, const QString& prompt, const QString& title);
// Replaces the real box; an empty function restores it.
void SetInputBoxHandler(std::function<std::optional<QString>(const InputBoxRequest&)> handler);
