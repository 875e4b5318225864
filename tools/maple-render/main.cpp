// maple-render: files the build makes with Qt itself, so that no other tool
// is needed: the program's icon as a PNG of a given size, and the user
// manual as a PDF from its Markdown sources.
//
//   maple-render icon IN.svg SIZE OUT.png
//   maple-render manual OUT.pdf IN.md...
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgRenderer>
#include <QTextDocument>
#include <QUrl>
#include <iostream>

#include "ManualLayout.h"

namespace {
int RenderIcon(const QString& svg, int size, const QString& out) {
    QSvgRenderer renderer(svg);
    if (!renderer.isValid() || size <= 0) {
        std::cerr << "maple-render: cannot read " << svg.toStdString() << "\n";
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    return image.save(out, "PNG") ? 0 : 1;
}

int RenderManual(const QString& out, const QStringList& sources) {
    QTextDocument document;
    QString markdown;
    for (const QString& source : sources) {
        QFile file(source);
        if (!file.open(QIODevice::ReadOnly)) {
            std::cerr << "maple-render: cannot read " << source.toStdString() << "\n";
            return 1;
        }
        markdown += QString::fromUtf8(file.readAll()) + QStringLiteral("\n\n");
    }
    // Pictures are named relative to the first source's folder.
    document.setMetaInformation(QTextDocument::DocumentUrl,
                                QUrl::fromLocalFile(sources.front()).toString());
    document.setMarkdown(markdown);
    QPdfWriter writer(out);
    writer.setTitle(QStringLiteral("MAPLE CD/DVD Writer - User Manual"));
    writer.setCreator(QStringLiteral("MAPLE CD/DVD Writer"));
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(20, 18, 20, 18), QPageLayout::Millimeter);
    LayOutManual(document, writer);
    document.print(&writer);
    return QFile::exists(out) ? 0 : 1;
}
}  // namespace

int main(int argc, char* argv[]) {
    QGuiApplication application(argc, argv);
    const QStringList args = QGuiApplication::arguments().mid(1);
    if (args.size() == 4 && args[0] == QStringLiteral("icon"))
        return RenderIcon(args[1], args[2].toInt(), args[3]);
    if (args.size() >= 3 && args[0] == QStringLiteral("manual"))
        return RenderManual(args[1], args.mid(2));
    std::cerr << "usage: maple-render icon IN.svg SIZE OUT.png\n"
                 "       maple-render manual OUT.pdf IN.md...\n";
    return 2;
}
