#pragma once

#include <QPoint>
#include <QRect>
#include <QString>
#include <initializer_list>
#include <utility>
#include <vector>

class EngineRunner;
class QAction;
class QLabel;
class QMenu;
class QProgressBar;
class QTimer;
class QPushButton;
class QWidget;

// Building blocks the task windows share: controls named as the windows name
// them, the header band, the status bar, the tools and help
// menus, and the display of a running engine.
namespace WindowParts {

// `control`, given its name (and place).
template <typename T>
T* Named(T* control, const char* name) {
    control->setObjectName(QString::fromLatin1(name));
    return control;
}
template <typename T>
T* Named(T* control, const char* name, QRect where) {
    control->setGeometry(where);
    return Named(control, name);
}

// The frame every task window shares: the window is named `name`, deletes
// itself when closed, and has `title` and a fixed size in twips.
void TaskWindowFrame(QWidget* window, const char* name, const QString& title, int widthTwips,
                     int heightTwips);
// The window's timer "Timer1", which follows the drive every 200 ms (not started).
QTimer* TickTimer(QWidget* window);

// The picture buttons along the bottom right of a task window (about, tools,
// back, burn or next), 44 pixels square, 48 apart, the last at the right.
struct RowButton {
    const char* name;
    const char* picture;  // Pictures::Load's name
    QString tip;
};
std::vector<QPushButton*> ButtonRow(QWidget* window, std::initializer_list<RowButton> buttons);

// Gives each button its picture of the alternative style ("Button_Back.bmp")
// when that style is selected and the file is there.
void StylePictures(std::initializer_list<std::pair<QPushButton*, const char*>> pictures);

// The band across the top of a task window that names what it does.
QLabel* Banner(QWidget* window, const QString& text, int height);

// A status bar `sbar` across the bottom of `window` with one panel per
// width, named "Panels(1)", "Panels(2)" ... A width of 0 makes a panel share
// the free room; a text too long for its panel ends in "…" there, whole in
// its tool tip (StatusPanel), instead of widening the bar.
std::vector<QLabel*> StatusBar(QWidget* window, std::initializer_list<int> widths);

// The menus of a task window's tools and about buttons, each item named as
// the windows name it; the button pops its menu up.
struct ToolsMenu {
    QMenu* menu;
    QAction* meuDiscInfo;   // the disc information window
    QAction* meuEraseDisc;  // the erase window
};
// `discInfo` and `eraseDisc` are the items' captions.
ToolsMenu AddToolsMenu(QWidget* owner, QPushButton* button, const QString& discInfo,
                       const QString& eraseDisc);
struct HelpMenu {
    QMenu* menu;
    QAction* meuHelpFile;  // the manual, when it is there
    QAction* meuAbout;     // the about window
};
HelpMenu AddHelpMenu(QWidget* owner, QPushButton* button, const QString& helpFile,
                     const QString& about);

// The recording windows' picture `imgtea` (hidden): a cup of tea to have
// while the drive works.
QLabel* TeaPicture(QWidget* parent, QPoint topLeft);
// Shows what `runner`'s engine reports: the phase, percentage and elapsed
// time in the status bar `panels`, the value on `bar`, and `picture` while
// the phase is `busyText`.
void ShowProgress(EngineRunner* runner, const std::vector<QLabel*>& panels, QProgressBar* bar,
                  QLabel* picture, const QString& busyText);

// Shows `window` in front of the others.
void ShowInFront(QWidget* window);

}  // namespace WindowParts
