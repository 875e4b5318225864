#include "Twips.h"

#include <QWidget>

namespace Twips {
QPoint ToPixels(QPoint twips) {
    return {ToPixels(twips.x()), ToPixels(twips.y())};
}

QPoint FromPixels(QPoint pixels) {
    return {FromPixels(pixels.x()), FromPixels(pixels.y())};
}

int ClientWidth(int widthTwips) {
    return ToPixels(widthTwips) - kFrameWidthPixels;
}

int ClientHeight(int heightTwips) {
    return ToPixels(heightTwips) - kFrameHeightPixels;
}

void FixWindowSize(QWidget& window, int widthTwips, int heightTwips) {
    window.setFixedSize(ClientWidth(widthTwips), ClientHeight(heightTwips));
}
}  // namespace Twips
