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

QFileDialog::FileMode Mode(const Request& request) {
    if (request.save) return QFileDialog::AnyFile;
    switch (request.choice) {
        case Request::Choice::Files:
            return QFileDialog::ExistingFiles;
        case Request::Choice::Folder:
            return QFileDialog::Directory;
        case Request::Choice::File:
            break;
    }
    return QFileDialog::ExistingFile;
}

// The platform's own dialog where it has one (the desktop portal, Windows).
QStringList ShowOnScreen(const Request& request) {
    QFileDialog dialog(request.owner, request.title, request.folder);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(Mode(request));
    if (request.choice == Request::Choice::Folder) {
        dialog.setOption(QFileDialog::ShowDirsOnly);
    } else {
        // Linux file names are case-sensitive: offer both spellings.
        dialog.setNameFilter(request.description + " (" + request.pattern + " " +
                             request.pattern.toLower() + ")");
    }
    if (request.save) dialog.setDefaultSuffix(Extension(request.pattern).mid(1).toLower());
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.selectedFiles();
}

QStringList Ask(const Request& request) {
    const QStringList chosen =
        Handler() ? Handler()(request).split(u'\n', Qt::SkipEmptyParts) : ShowOnScreen(request);
    if (!chosen.isEmpty())
        SaveProgramSetting(kLastFolderKey, QFileInfo(chosen.first()).absolutePath().toStdString());
    return chosen;
}

QString AskOne(const Request& request) {
    const QStringList chosen = Ask(request);
    return chosen.isEmpty() ? QString() : chosen.first();
}
}  // namespace

QString ShowOpenDialog(QWidget* owner, const QString& title, const QString& pattern,
                       const QString& description) {
    return AskOne({owner, title, pattern, description, false, LastFolder()});
}

QStringList ShowOpenFilesDialog(QWidget* owner, const QString& title, const QString& pattern,
                                const QString& description) {
    return Ask({owner, title, pattern, description, false, LastFolder(), Request::Choice::Files});
}

QString ShowFolderDialog(QWidget* owner, const QString& title) {
    return AskOne({owner, title, {}, {}, false, LastFolder(), Request::Choice::Folder});
}

QString ShowSaveDialog(QWidget* owner, const QString& title, const QString& pattern,
                       const QString& description) {
    const QString chosen = AskOne({owner, title, pattern, description, true, LastFolder()});
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
