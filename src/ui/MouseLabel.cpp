#include "MouseLabel.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

MouseLabel::MouseLabel(QWidget* parent) : QLabel(parent) {
    setMouseTracking(true);
}

void MouseLabel::SetBackColor(const QColor& colour) {
    QPalette colours = palette();
    colours.setColor(QPalette::Window, colour);
    setPalette(colours);
    setAutoFillBackground(true);
}

QColor MouseLabel::BackColor() const {
    return palette().color(QPalette::Window);
}

void MouseLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) emit rightButtonPressed();
    event->accept();
}

void MouseLabel::mouseReleaseEvent(QMouseEvent* event) {
    // A click is a left press and release over the same control.
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    event->accept();
}

void MouseLabel::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMoved();
    // Accepted, so the window underneath does not see the move as its own.
    event->accept();
}

void MouseLabel::ActAsButton(const QString& accessibleName) {
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(accessibleName);
}

void MouseLabel::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (focusPolicy() != Qt::NoFocus &&
        (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space)) {
        emit clicked();
        event->accept();
        return;
    }
    QLabel::keyPressEvent(event);
}

void MouseLabel::focusInEvent(QFocusEvent* event) {
    QLabel::focusInEvent(event);
    // Only the user's Tab counts as pointing at it, not the window's return.
    if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason)
        emit mouseMoved();
}

void MouseLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (!hasFocus()) return;
    QStylePainter painter(this);
    QStyleOptionFocusRect frame;
    frame.initFrom(this);
    frame.rect = rect().adjusted(1, 1, -1, -1);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, frame);
}
