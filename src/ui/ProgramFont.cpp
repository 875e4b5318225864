#include "ProgramFont.h"

#include <QApplication>
#include <QFont>

void ApplyProgramFont() {
    QFont font = QApplication::font();
    // Simplified Chinese glyphs in every locale: the system's own Chinese
    // families first, then those a Linux desktop (or Wine) usually has.
    font.setFamilies({
#ifdef Q_OS_WIN
        QStringLiteral("Microsoft YaHei UI"), QStringLiteral("Microsoft YaHei"),
        QStringLiteral("SimSun"),
#endif
        QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Noto Sans CJK"),
        QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans"),
        QStringLiteral("DejaVu Sans")});
    font.setPointSize(9);
    QApplication::setFont(font);
}
