#include "ProgramFont.h"

#include <QApplication>
#include <QFont>

void ApplyProgramFont() {
    QFont font = QApplication::font();
    font.setFamilies({QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Noto Sans CJK"),
                      QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans"),
                      QStringLiteral("DejaVu Sans")});
    font.setPointSize(9);
    QApplication::setFont(font);
}
