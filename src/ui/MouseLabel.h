#pragma once

#include <QColor>
#include <QLabel>

// A label or picture box that reports the mouse as the windows need it:
// clicks, moves (also without a button pressed) and right-button presses.
class MouseLabel : public QLabel {
    Q_OBJECT
  public:
    explicit MouseLabel(QWidget* parent = nullptr);

    // Background colour; the label paints its background with it.
    void SetBackColor(const QColor& colour);
    QColor BackColor() const;

  signals:
    void clicked();
    void mouseMoved();
    void rightButtonPressed();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
};
