#pragma once

#include <QPushButton>

// A flat picture button a keyboard user can find and press: a focus frame
// while it holds the focus (the flat look draws none) and Enter presses it
// as Space does.
class KeyboardPictureButton : public QPushButton {
  public:
    explicit KeyboardPictureButton(QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};
