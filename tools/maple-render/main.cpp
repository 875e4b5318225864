// maple-render: files the build makes with Qt itself, so that no other tool
// is needed: the program's icon as a PNG of a given size, and the user
// manual as a PDF from its Markdown sources.
//
//   maple-render icon IN.svg SIZE OUT.png
//   maple-render ico IN.svg OUT.ico      (Windows icon, 16 to 256 pixels)
//   maple-render manual OUT.pdf IN.md...
#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgRenderer>
#include <QTextDocument>
#include <QUrl>
#include <QtEndian>
#include <iostream>
#include <iterator>

#include "ManualLayout.h"

namespace {
QImage Render(QSvgRenderer& renderer, int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    return image;
}

int RenderIcon(const QString& svg, int size, const QString& out) {
    QSvgRenderer renderer(svg);
    if (!renderer.isValid() || size <= 0) {
        std::cerr << "maple-render: cannot read " << svg.toStdString() << "\n";
        return 1;
    }
    return Render(renderer, size).save(out, "PNG") ? 0 : 1;
}

template <typename Number>
void Append(QByteArray& bytes, Number value) {
    const Number little = qToLittleEndian(value);
    bytes.append(reinterpret_cast<const char*>(&little), sizeof little);
}

// An .ico file of PNG images, as Windows Vista and later read it: the header,
// one 16-byte entry per size, then the images.
int RenderIconFile(const QString& svg, const QString& out) {
    QSvgRenderer renderer(svg);
    if (!renderer.isValid()) {
        std::cerr << "maple-render: cannot read " << svg.toStdString() << "\n";
        return 1;
    }
    const int sizes[] = {16, 20, 24, 32, 40, 48, 64, 256};
    constexpr auto kCount = static_cast<quint16>(std::size(sizes));
    QByteArray header;
    QByteArray images;
    Append<quint16>(header, 0);
    Append<quint16>(header, 1);  // an icon, not a cursor
    Append<quint16>(header, kCount);
    for (const int size : sizes) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!Render(renderer, size).save(&buffer, "PNG")) return 1;
        header.append(static_cast<char>(size & 0xFF));  // 0 stands for 256
        header.append(static_cast<char>(size & 0xFF));
        header.append(2, '\0');       // no palette, reserved
        Append<quint16>(header, 1);   // colour planes
        Append<quint16>(header, 32);  // bits per pixel
        Append<quint32>(header, static_cast<quint32>(png.size()));
        Append<quint32>(header, static_cast<quint32>(6 + 16 * kCount + images.size()));
        images += png;
    }
    QFile file(out);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(header + images) != header.size() + images.size())
        return 1;
    return 0;
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
    if (args.size() == 3 && args[0] == QStringLiteral("ico"))
        return RenderIconFile(args[1], args[2]);
    if (args.size() >= 3 && args[0] == QStringLiteral("manual"))
        return RenderManual(args[1], args.mid(2));
    std::cerr << "usage: maple-render icon IN.svg SIZE OUT.png\n"
                 "       maple-render ico IN.svg OUT.ico\n"
                 "       maple-render manual OUT.pdf IN.md...\n";
    return 2;
}
