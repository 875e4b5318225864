#include "InputBoxSeam.h"

#include <QInputDialog>

namespace {
std::function<std::optional<QString>(const InputBoxRequest&)>& Handler() {
    static std::function<std::optional<QString>(const InputBoxRequest&)> handler;
    return handler;
}
}  // namespace

std::optional<QString> ShowInputBox(QWidget* parent, const QString& prompt, const QString& title) {
    if (Handler()) return Handler()({parent, prompt, title});
    bool accepted = false;
    const QString text =
        QInputDialog::getText(parent, title, prompt, QLineEdit::Normal, QString(), &accepted);
    if (!accepted) return std::nullopt;
    return text;
}

void SetInputBoxHandler(std::function<std::optional<QString>(const InputBoxRequest&)> handler) {
    Handler() = std::move(handler);
}
