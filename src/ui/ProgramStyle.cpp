#include "ProgramStyle.h"

#include <QDir>
#include <QFileInfo>
#include <QPixmap>

#include "LanguageFile.h"
#include "ProgramPaths.h"
#include "ValLike.h"

namespace {
// The style file is named after the program file.
constexpr const char* kStyleFile = "maple-writer.INI";

QString& OverriddenFolder() {
    static QString folder;
    return folder;
}
}  // namespace

namespace ProgramStyle {
QString DataFile(const QString& relative) {
    const QString folder = OverriddenFolder().isEmpty()
                               ? QString::fromStdString(ProgramDataFolder())
                               : OverriddenFolder();
    return QDir(folder).filePath(relative);
}

void SetDataFolder(const QString& folder) {
    OverriddenFolder() = folder;
}

bool AlternativeSelected() {
    const std::string value = ReadKeyValue(DataFile(kStyleFile).toStdString(), "style");
    return ValLike(value) != 0.0;
}

QPixmap Picture(const QString& fileName) {
    if (!AlternativeSelected()) return {};
    const QString path = DataFile(QStringLiteral("style/Maple/") + fileName);
    if (!QFileInfo(path).isFile()) return {};
    return QPixmap(path);
}
}  // namespace ProgramStyle
