#include "Pictures.h"

#include <QGuiApplication>
#include <QPainter>
#include <QSvgRenderer>

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
}  // namespace Pictures
