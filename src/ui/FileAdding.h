#pragma once

#include <QStringList>
#include <functional>
#include <string>

class QWidget;

// The ways of adding files to a window's file list beside the drop: the Add
// buttons' dialogs, Insert, which opens the window's "Add files" dialog, and
// Ctrl+V (the platform's paste key), which adds the files copied in a file
// manager.
namespace FileAdding {

// The files the clipboard holds as URLs, as a drop gives them: local paths,
// other URLs as text (so that a refusal can name them). Empty without URLs.
QStringList ClipboardPaths();

// A local path as the system writes it, for showing: drops and dialogs give
// "/" separators, Windows users read "\\".
QString ShownPath(const std::string& localPath);

// A dialog's title made of its menu item's text: "Add files..." -> "Add files".
QString DialogTitle(const QString& menuText);

// Binds Insert to `askForFiles` and paste to `addPaths(ClipboardPaths())`
// while the focus is in `area` (the list and its neighbours); a paste of no
// files does nothing. An editor inside the area keeps its own paste.
void Install(QWidget* area, std::function<void()> askForFiles,
             std::function<void(const QStringList&)> addPaths);

}  // namespace FileAdding
