#pragma once

#include <QRect>

class QPushButton;
class QString;
class QWidget;

// A flat button showing one of the program's pictures (Pictures::Load), its
// picture 8 pixels smaller than the button, named after its control, with
// its tool tip, which is also its accessible name; it shows the focus and
// takes Enter (KeyboardPictureButton).
QPushButton* PictureButton(QWidget* parent, const char* name, const char* picture, QRect where,
                           const QString& tip);
