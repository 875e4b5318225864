#include "ToolkitTranslations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "LanguageFile.h"

namespace ToolkitTranslations {
QStringList SearchFolders() {
    return {QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("translations")),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
}

bool Install() {
    const QLocale locale(QString::fromStdString(ChosenLocaleName()));
    QLocale::setDefault(locale);
    if (locale.language() == QLocale::English) return false;
    // One translator for the program's run, owned by the application.
    auto* translator = new QTranslator(QCoreApplication::instance());
    for (const QString& folder : SearchFolders()) {
        if (translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"), folder)) {
            QCoreApplication::installTranslator(translator);
            return true;
        }
    }
    delete translator;
    return false;
}
}  // namespace ToolkitTranslations
