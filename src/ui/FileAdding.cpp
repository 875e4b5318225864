#include "FileAdding.h"

#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QMimeData>
#include <QShortcut>
#include <QUrl>
#include <QWidget>

namespace FileAdding {
QStringList ClipboardPaths() {
    QStringList paths;
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data == nullptr) return paths;
    for (const QUrl& url : data->urls())
        paths.append(url.isLocalFile() ? url.toLocalFile() : url.toString());
    return paths;
}

QString ShownPath(const std::string& localPath) {
    return QDir::toNativeSeparators(QString::fromStdString(localPath));
}

QString DialogTitle(const QString& menuText) {
    QString title = menuText.trimmed();
    for (const QString& dots : {QStringLiteral("..."), QStringLiteral("\u2026")})
        if (title.endsWith(dots)) title.chop(dots.size());
    return title.trimmed();
}

void Install(QWidget* area, std::function<void()> askForFiles,
             std::function<void(const QStringList&)> addPaths) {
    auto* insert = new QShortcut(QKeySequence(Qt::Key_Insert), area);
    insert->setContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(insert, &QShortcut::activated, area, std::move(askForFiles));
    auto* paste = new QShortcut(QKeySequence::Paste, area);
    paste->setContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(paste, &QShortcut::activated, area, [addPaths = std::move(addPaths)] {
        const QStringList paths = ClipboardPaths();
        if (!paths.isEmpty()) addPaths(paths);
    });
}
}  // namespace FileAdding
