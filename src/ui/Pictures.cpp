#include "Pictures.h"

#include <QGuiApplication>
#include <QPainter>
#ifndef MAPLE_PRERENDERED_PICTURES
#include <QSvgRenderer>
#endif

// The resources live in a static library: register them explicitly, or the
// linker drops them.
static void RegisterPictureResources() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(pictures);
        return true;
    }();
    (void)registered;
}

namespace Pictures {
#ifdef MAPLE_PRERENDERED_PICTURES
// Builds whose Qt has no SVG module carry each picture drawn large as PNG.
QPixmap Load(const QString& name, QSize size) {
    RegisterPictureResources();
    const QImage large(QStringLiteral(":/pictures/%1.png").arg(name));
    if (large.isNull()) return {};
    const qreal ratio = qApp != nullptr ? qApp->devicePixelRatio() : 1.0;
    QPixmap pixmap = QPixmap::fromImage(
        large.scaled(size * ratio, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}
#else
QPixmap Load(const QString& name, QSize size) {
    RegisterPictureResources();
    QSvgRenderer renderer(QStringLiteral(":/pictures/%1.svg").arg(name));
    if (!renderer.isValid()) return {};
    const qreal ratio = qApp != nullptr ? qApp->devicePixelRatio() : 1.0;
    QPixmap pixmap(size * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return pixmap;
}
#endif
}  // namespace Pictures
