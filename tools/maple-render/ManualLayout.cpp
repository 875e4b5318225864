#include "ManualLayout.h"

#include <QImage>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QUrl>

namespace {
void BreakBeforeChapters(QTextDocument& document) {
    bool first = true;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() != 1) continue;
        if (first) {
            first = false;
            continue;
        }
        QTextCursor cursor(block);
        QTextBlockFormat format = block.blockFormat();
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        cursor.setBlockFormat(format);
    }
}

// The text width in the document's own units (points at the screen's
// resolution, as QTextDocument::print lays out).
qreal TextWidth(const QPdfWriter& writer) {
    return writer.pageLayout().paintRect(QPageLayout::Point).width() * 96.0 / 72.0;
}

void FitPictures(QTextDocument& document, qreal width) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat()) continue;
            QTextImageFormat format = fragment.charFormat().toImageFormat();
            const QUrl documentUrl(document.metaInformation(QTextDocument::DocumentUrl));
            const QImage image(documentUrl.resolved(QUrl(format.name())).toLocalFile());
            if (image.isNull()) continue;
            // Loaded here once, so that printing finds it under its own name.
            document.addResource(QTextDocument::ImageResource, QUrl(format.name()), image);
            if (image.width() <= width * 0.8) continue;
            format.setWidth(width * 0.8);
            format.setHeight(image.height() * width * 0.8 / image.width());
            QTextCursor cursor(&document);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(format);
        }
    }
}
}  // namespace

void LayOutManual(QTextDocument& document, const QPdfWriter& writer) {
    BreakBeforeChapters(document);
    FitPictures(document, TextWidth(writer));
}
