#pragma once

#include <QRect>

class QPushButton;
class QWidget;

// A flat button showing one of the program's pictures (Pictures::Load), its
// picture 8 pixels smaller than the button, named after its control, with a
// built-in tool tip (UTF-8; nullptr: none).
QPushButton* PictureButton(QWidget* parent, const char* name, const char* picture, QRect where,
                           const char* tip);
