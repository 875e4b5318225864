#pragma once

class QString;
class QWidget;

// Tells a user who is working elsewhere that a window needs them (a
// recording has ended): the window asks for attention (the taskbar button
// flashes), and on desktops with freedesktop notifications a notice shows
// `title` and `text`, as the message box does. Nothing more without them.
namespace DesktopNotice {

void Show(QWidget* window, const QString& title, const QString& text);

}  // namespace DesktopNotice
