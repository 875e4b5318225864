#pragma once

#include <QString>
#include <functional>

#include "EngineReporter.h"

class QWidget;

// A message box as a window asks for it.
struct MessageBoxRequest {
    QWidget* parent = nullptr;
    QString text;
    QString title;
    MessageIcon icon = MessageIcon::Information;
    MessageButtons buttons = MessageButtons::Ok;
};

// Every message box of the windows goes through here: a modal box on the
// screen, or the handler a test installed (which answers at once).
MessageAnswer ShowMessageBox(QWidget* parent, const QString& text, const QString& title,
                             MessageIcon icon, MessageButtons buttons = MessageButtons::Ok);
// Replaces the real boxes; an empty function restores them.
void SetMessageBoxHandler(std::function<MessageAnswer(const MessageBoxRequest&)> handler);
