#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

// The program's file dialogs. Both start in the folder the user chose from
// last (the setting "LastFolder"; the home folder at first), show the
// pattern in either letter case, and return the chosen path as it is
// spelled. Tests install a handler that answers at once.
namespace ModFileDlg {

// A file dialog as a window asks for it.
struct Request {
    QWidget* owner = nullptr;
    QString title;
    QString pattern;      // "*.ISO"
    QString description;  // "ISO文件"
    bool save = false;    // a file to write (else an existing file to read)
    QString folder;       // where the dialog starts
    // What is chosen: one file, any number of existing files, or a folder.
    enum class Choice { File, Files, Folder };
    Choice choice = Choice::File;
};

// Asks for an existing file. Empty when the user cancelled.
QString ShowOpenDialog(QWidget* owner, const QString& title, const QString& pattern,
                       const QString& description);

// Asks for existing files, several at once. Empty when the user cancelled.
QStringList ShowOpenFilesDialog(QWidget* owner, const QString& title, const QString& pattern,
                                const QString& description);

// Asks for an existing folder. Empty when the user cancelled.
QString ShowFolderDialog(QWidget* owner, const QString& title);

// Asks for the name of a file to write, asking before replacing a file. The
// pattern's extension is appended when the name does not end in it,
// ignoring case. Empty when the user cancelled.
QString ShowSaveDialog(QWidget* owner, const QString& title, const QString& pattern,
                       const QString& description);

// `path` with the extension of `pattern` appended unless it ends in it
// (ignoring case); the appended extension is in lower case.
QString ForceExtension(const QString& path, const QString& pattern);

// Replaces the dialogs; the handler returns the chosen path (empty: cancel),
// for Choice::Files the chosen paths one per line.
// An empty function restores the real dialogs.
void SetDialogHandler(std::function<QString(const Request&)> handler);

}  // namespace ModFileDlg
