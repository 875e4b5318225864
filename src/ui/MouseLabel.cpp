#include "MouseLabel.h"

#include <QMouseEvent>

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
