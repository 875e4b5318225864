// Platform part of DesktopNotice: Windows flashes the window's taskbar button.
#include <QApplication>

#include "DesktopNotice.h"

namespace DesktopNotice {

void Show(QWidget* window, const QString& /*title*/, const QString& /*text*/) {
    QApplication::alert(window);
}

}  // namespace DesktopNotice
