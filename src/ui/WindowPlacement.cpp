#include "WindowPlacement.h"

#include <QApplication>
#include <QEvent>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <algorithm>

#include "MainWindowLink.h"

namespace {
QWidget* MainWindowWidget() {
    return MainWindow() != nullptr ? MainWindow()->Window() : nullptr;
}

bool NeedsPlacement(const QWidget* window) {
    if (!window->isWindow() || window->testAttribute(Qt::WA_Moved)) return false;
    const Qt::WindowType type = window->windowType();
    return type == Qt::Window || type == Qt::Dialog || type == Qt::Tool;
}

// The window `window` belongs to; null for the main window itself.
QWidget* OwnerOf(const QWidget* window) {
    if (window->parentWidget() != nullptr) return window->parentWidget()->window();
    if (const QWindow* handle = window->windowHandle(); handle && handle->transientParent())
        for (QWidget* candidate : QApplication::topLevelWidgets())
            if (candidate->windowHandle() == handle->transientParent()) return candidate;
    QWidget* main = MainWindowWidget();
    return main != window ? main : nullptr;
}

void Place(QWidget* window) {
    const QWidget* owner = OwnerOf(window);
    const QScreen* screen = owner != nullptr ? owner->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    const QRect area = screen->availableGeometry();
    window->move(WindowPlacement::CentredOver(owner != nullptr ? owner->frameGeometry() : area,
                                              window->frameGeometry().size(), area));
}
}  // namespace

QPoint WindowPlacement::CentredOver(const QRect& owner, QSize size, const QRect& screen) {
    const int left = owner.left() + (owner.width() - size.width()) / 2;
    const int top = owner.top() + (owner.height() - size.height()) / 2;
    return {
        std::clamp(left, screen.left(), std::max(screen.left(), screen.right() + 1 - size.width())),
        std::clamp(top, screen.top(), std::max(screen.top(), screen.bottom() + 1 - size.height()))};
}

bool WindowPlacement::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto* window = static_cast<QWidget*>(watched);
        if (NeedsPlacement(window)) {
            Place(window);
            // A message box fits itself to its text as it shows, after the
            // filter saw the event: centre it again once it has its size.
            QTimer::singleShot(0, window, [window] { Place(window); });
        }
    }
    return QObject::eventFilter(watched, event);
}

void ShowOverOwner(QWidget* window) {
    QWidget* owner = QApplication::activeWindow();
    if (owner == nullptr || owner == window) owner = MainWindowWidget();
    // A hidden owner (the main window behind a task window) would hide it
    // from the task bar.
    if (owner != nullptr && owner != window && owner->isVisible() &&
        window->parentWidget() == nullptr) {
        window->winId();  // creates the native window that takes the owner
        window->windowHandle()->setTransientParent(owner->windowHandle());
    }
    // Escape closes it, as it closes a dialog.
    if (window->findChild<QShortcut*>(QStringLiteral("escape")) == nullptr) {
        auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), window, window, &QWidget::close);
        escape->setObjectName(QStringLiteral("escape"));
    }
    window->show();
    window->raise();
    window->activateWindow();
}
