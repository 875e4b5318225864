#include "PictureButton.h"

#include "KeyboardPictureButton.h"
#include "Pictures.h"

QPushButton* PictureButton(QWidget* parent, const char* name, const char* picture, QRect where,
                           const QString& tip) {
    auto* button = new KeyboardPictureButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(where);
    const int side = where.height() - 8;
    button->setIcon(QIcon(Pictures::Load(QString::fromLatin1(picture), {side, side})));
    button->setIconSize({side, side});
    button->setFlat(true);
    button->setToolTip(tip);
    button->setAccessibleName(tip);
    return button;
}
