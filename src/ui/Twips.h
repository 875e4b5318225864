#pragma once

#include <QPoint>

class QWidget;

// Window geometry is designed in twips (1/1440 inch). Qt's device-independent
// pixel is 1/96 inch, so one pixel is 15 twips at any screen scaling.
namespace Twips {
inline constexpr int kPerPixel = 15;

constexpr int ToPixels(int twips) {
    return twips / kPerPixel;
}
constexpr int FromPixels(int pixels) {
    return pixels * kPerPixel;
}
// A screen position in twips (settings such as "TempX0"/"TempY0").
QPoint ToPixels(QPoint twips);
QPoint FromPixels(QPoint pixels);

// The frame a desktop draws around a top-level window (4-pixel borders and a
// 22-pixel title bar). Design sizes are outer sizes, Qt fixes the client
// area, so the fixed-size rule takes the frame off.
inline constexpr int kFrameWidthPixels = 8;
inline constexpr int kFrameHeightPixels = 30;

// The fixed-size rule of every window: the window keeps the outer design size
// `widthTwips` x `heightTwips`; the user cannot resize it.
void FixWindowSize(QWidget& window, int widthTwips, int heightTwips);
// Client width and height of a window of that outer design size, in pixels.
int ClientWidth(int widthTwips);
int ClientHeight(int heightTwips);
}  // namespace Twips
