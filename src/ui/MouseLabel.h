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
    // Makes the label a button for the keyboard too: reachable by Tab with a
    // visible focus frame, focus acts as the mouse moving over it, and Enter
    // or Space click it. `accessibleName` names it for screen readers.
    void ActAsButton(const QString& accessibleName);

  signals:
    void clicked();
    void mouseMoved();
    void rightButtonPressed();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};
