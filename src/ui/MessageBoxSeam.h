#pragma once

#include <QString>
#include <functional>
#include <memory>

#include "EngineReporter.h"

class QWidget;

// A message box as a window asks for it.
struct MessageBoxRequest {
    QWidget* parent = nullptr;
    QString text;
    QString title;
    MessageIcon icon = MessageIcon::Information;
    MessageButtons buttons = MessageButtons::Ok;
    // Enter and Escape answer No: a question whose Yes cannot be undone.
    bool noIsDefault = false;
    // Turns true when the program closes the box before it is answered (see
    // CloseMessageBoxes); a handler that keeps a box open watches it.
    std::shared_ptr<const bool> closedByProgram;
};

// Every message box of the windows goes through here: a modal box on the
// screen, or the handler a test installed (which answers at once).
MessageAnswer ShowMessageBox(QWidget* parent, const QString& text, const QString& title,
                             MessageIcon icon, MessageButtons buttons = MessageButtons::Ok,
                             bool noIsDefault = false);
// Closes the boxes open over `parent`, as if No, Cancel or OK was chosen:
// what they asked about has been settled meanwhile (a recording ended while
// its stop question was open).
void CloseMessageBoxes(const QWidget* parent);
// Replaces the real boxes; an empty function restores them.
void SetMessageBoxHandler(std::function<MessageAnswer(const MessageBoxRequest&)> handler);
