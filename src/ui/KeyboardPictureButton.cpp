#include "KeyboardPictureButton.h"

#include <QKeyEvent>
#include <QPainter>

KeyboardPictureButton::KeyboardPictureButton(QWidget* parent) : QPushButton(parent) {
    setFocusPolicy(Qt::StrongFocus);
}

void KeyboardPictureButton::paintEvent(QPaintEvent* event) {
    QPushButton::paintEvent(event);
    if (!hasFocus()) return;
    // Drawn here, not by the style: Fusion draws no focus frame on a flat
    // button at all.
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
    painter.drawRect(rect().adjusted(1, 1, -2, -2));
}

void KeyboardPictureButton::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        event->modifiers() == Qt::NoModifier) {
        if (isEnabled()) animateClick();
        event->accept();
        return;
    }
    QPushButton::keyPressEvent(event);
}
