#include "ModFileDlg.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include "SettingsStore.h"

namespace ModFileDlg {
namespace {
constexpr const char* kLastFolderKey = "LastFolder";

std::function<QString(const Request&)>& Handler() {
    static std::function<QString(const Request&)> handler;
    return handler;
}

QString LastFolder() {
    const QString folder = QString::fromStdString(GetProgramSetting(kLastFolderKey));
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QDir::homePath();
}

QString Extension(const QString& pattern) {
    const qsizetype dot = pattern.indexOf(u'.');
    return dot < 0 ? QString() : pattern.mid(dot);
}

QString ShowOnScreen(const Request& request) {
    QFileDialog dialog(request.owner, request.title, request.folder);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // Linux file names are case-sensitive: offer both spellings.
    dialog.setNameFilter(request.description + " (" + request.pattern + " " +
                         request.pattern.toLower() + ")");
    if (request.save) dialog.setDefaultSuffix(Extension(request.pattern).mid(1).toLower());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

QString Ask(const Request& request) {
    const QString chosen = Handler() ? Handler()(request) : ShowOnScreen(request);
    if (!chosen.isEmpty())
        SaveProgramSetting(kLastFolderKey, QFileInfo(chosen).absolutePath().toStdString());
    return chosen;
}
}  // namespace

QString ShowOpenDialog(QWidget* owner, const QString& title, const QString& pattern,
                       const QString& description) {
    return Ask({owner, title, pattern, description, false, LastFolder()});
}

QString ShowSaveDialog(QWidget* owner, const QString& title, const QString& pattern,
                       const QString& description) {
    const QString chosen = Ask({owner, title, pattern, description, true, LastFolder()});
    return chosen.isEmpty() ? chosen : ForceExtension(chosen, pattern);
}

QString ForceExtension(const QString& path, const QString& pattern) {
    const QString extension = Extension(pattern);
    if (extension.isEmpty() || path.endsWith(extension, Qt::CaseInsensitive)) return path;
    return path + extension.toLower();
}

void SetDialogHandler(std::function<QString(const Request&)> handler) {
    Handler() = std::move(handler);
}
}  // namespace ModFileDlg
