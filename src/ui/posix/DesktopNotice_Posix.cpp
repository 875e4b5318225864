// Platform part of DesktopNotice: org.freedesktop.Notifications on the
// session bus, sent without waiting for its answer.
#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QVariantMap>

#include "DesktopNotice.h"

namespace DesktopNotice {

void Show(QWidget* window, const QString& title, const QString& text) {
    QApplication::alert(window);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return;
    QDBusMessage notify = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    const QString program = QStringLiteral("org.maple_writer.MapleWriter");
    // Application, replaces id, icon, summary, body, actions, hints, timeout
    // (-1: as the desktop likes).
    notify << QStringLiteral("MAPLE CD/DVD Writer") << 0U << program << title << text
           << QStringList() << QVariantMap{{QStringLiteral("desktop-entry"), program}} << -1;
    bus.send(notify);
}

}  // namespace DesktopNotice
