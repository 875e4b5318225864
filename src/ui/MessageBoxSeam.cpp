#include "MessageBoxSeam.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <algorithm>
#include <vector>

#include "MessageBoxTexts.h"
#include "WindowTexts.h"

namespace {
std::function<MessageAnswer(const MessageBoxRequest&)>& Handler() {
    static std::function<MessageAnswer(const MessageBoxRequest&)> handler;
    return handler;
}

// A box being shown, innermost last (boxes open inside one another's loops).
struct OpenBox {
    const QWidget* parent;
    std::shared_ptr<bool> closed;
    QMessageBox* onScreen = nullptr;
};
std::vector<OpenBox*>& OpenBoxes() {
    static std::vector<OpenBox*> boxes;
    return boxes;
}

QMessageBox::Icon QtIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Exclamation:
            return QMessageBox::Warning;
        case MessageIcon::Question:
            return QMessageBox::Question;
        case MessageIcon::Critical:
            return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons QtButtons(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::Ok:
            return QMessageBox::Ok;
        case MessageButtons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case MessageButtons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

// The buttons speak the program's language, not Qt's English.
void SetButtonTexts(QMessageBox& box) {
    const struct {
        QMessageBox::StandardButton button;
        MessageBoxText caption;
    } buttons[] = {{QMessageBox::Ok, MessageBoxText::Ok},
                   {QMessageBox::Cancel, MessageBoxText::Cancel},
                   {QMessageBox::Yes, MessageBoxText::Yes},
                   {QMessageBox::No, MessageBoxText::No}};
    for (const auto& [button, caption] : buttons)
        if (QAbstractButton* shown = box.button(button)) shown->setText(QText(caption));
}

MessageAnswer ShowOnScreen(const MessageBoxRequest& request, OpenBox& open) {
    QMessageBox box(QtIcon(request.icon), request.title, request.text, QtButtons(request.buttons),
                    request.parent);
    SetButtonTexts(box);
    if (request.noIsDefault) {
        box.setDefaultButton(QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
    }
    open.onScreen = &box;
    switch (box.exec()) {
        case QMessageBox::Yes:
            return MessageAnswer::Yes;
        case QMessageBox::No:
            return MessageAnswer::No;
        case QMessageBox::Cancel:
            return MessageAnswer::Cancel;
        default:
            break;
    }
    // Closing a Yes/No box with the window's close button means No.
    return request.buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
}
}  // namespace

MessageAnswer ShowMessageBox(QWidget* parent, const QString& text, const QString& title,
                             MessageIcon icon, MessageButtons buttons, bool noIsDefault) {
    OpenBox open{parent, std::make_shared<bool>(false)};
    const MessageBoxRequest request{parent, text, title, icon, buttons, noIsDefault, open.closed};
    OpenBoxes().push_back(&open);
    const MessageAnswer answer = Handler() ? Handler()(request) : ShowOnScreen(request, open);
    std::erase(OpenBoxes(), &open);
    return *open.closed ? CautiousAnswer(buttons) : answer;
}

void CloseMessageBoxes(const QWidget* parent) {
    for (OpenBox* open : OpenBoxes()) {
        if (open->parent != parent || *open->closed) continue;
        *open->closed = true;
        if (open->onScreen != nullptr) open->onScreen->reject();
    }
}

void SetMessageBoxHandler(std::function<MessageAnswer(const MessageBoxRequest&)> handler) {
    Handler() = std::move(handler);
}
