#pragma once

#include <QObject>
#include <QPoint>
#include <QRect>

class QWidget;

// Places every new top-level window that nobody placed centred over the
// window it belongs to: its parent's window, else the main window. Without
// a window manager (or with one that leaves placement to the program) new
// windows would otherwise open at the screen's corner. Installed once on the
// application; popups, tool tips and windows placed on purpose are left alone.
class WindowPlacement : public QObject {
  public:
    using QObject::QObject;

    // Top-left corner of a window of `size` centred over `owner` and kept
    // inside `screen`.
    static QPoint CentredOver(const QRect& owner, QSize size, const QRect& screen);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// Shows a dialog or tool window (disc information, erase, about) as
// belonging to the window the user opened it from (the active window, else
// the main window): it stays above that window and opens centred over it.
// Escape closes it.
void ShowOverOwner(QWidget* window);
