// What the file manager asks the program to open: at start, or handed over
// by a second start while the program runs.
#include <QApplication>

#include "MainTexts.h"
#include "MessageBoxSeam.h"
#include "WindowParts.h"
#include "WindowTexts.h"
#include "frmErase.h"
#include "frmMain.h"
#include "frmSaveISO.h"
#include "frmWriteCDDA.h"

namespace {
// The shown top-level window of type T (there is one task window at a time).
template <typename T>
T* ShownWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<T*>(widget); window != nullptr && window->isVisible())
            return window;
    return nullptr;
}

// The window the user works in: a dialog in front, else the active window,
// else any shown one.
QWidget* WindowInUse() {
    if (QWidget* dialog = QApplication::activeModalWidget()) return dialog;
    if (QWidget* active = QApplication::activeWindow()) return active;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->isVisible() && widget->isWindow() && !(widget->windowType() == Qt::Popup))
            return widget;
    return nullptr;
}

// The task window of `kind` when it waits for the user: it takes the files
// as a drop; nullptr otherwise.
QWidget* IdleTaskWindow(StartUpRequest::Kind kind) {
    if (QApplication::activeModalWidget() != nullptr) return nullptr;
    if (kind == StartUpRequest::Kind::Data)
        if (auto* window = ShownWindow<frmSaveISO>(); window != nullptr && !window->Building())
            return window;
    if (kind == StartUpRequest::Kind::Audio)
        if (auto* window = ShownWindow<frmWriteCDDA>(); window != nullptr && !window->Recording())
            return window;
    return nullptr;
}

QStringList Paths(const std::vector<std::string>& paths) {
    QStringList list;
    for (const std::string& path : paths) list << QString::fromStdString(path);
    return list;
}
}  // namespace

bool frmMain::OpenRequest(const StartUpRequest& request) {
    switch (request.kind) {
        case StartUpRequest::Kind::None:
            return false;
        case StartUpRequest::Kind::Image:
            RecordImage(QString::fromStdString(request.paths.front()));
            return true;
        case StartUpRequest::Kind::Data:
            // A data disc from the file manager starts as a CD project; the
            // size bar tells when the files need a DVD.
            OpenTask(Task::kDataDisc, ChosenMedium::kCd);
            break;
        case StartUpRequest::Kind::Audio:
            OpenTask(Task::kAudioCd, ChosenMedium::kNothing);
            break;
    }
    AddToTaskWindow(request.kind, Paths(request.paths));
    return true;
}

void frmMain::AddToTaskWindow(StartUpRequest::Kind kind, const QStringList& paths) {
    QWidget* window = IdleTaskWindow(kind);
    if (auto* data = qobject_cast<frmSaveISO*>(window))
        data->AddDroppedFiles(paths);
    else if (auto* audio = qobject_cast<frmWriteCDDA*>(window))
        audio->AddDroppedFiles(paths);
}

bool frmMain::TakeHandedOver(const QStringList& arguments) {
    std::vector<std::string> list;
    for (const QString& argument : arguments) list.push_back(argument.toStdString());
    const StartUpRequest request = ReadStartUpArguments(list);
    if (request.kind == StartUpRequest::Kind::None) return false;
    const frmErase* erase = ShownWindow<frmErase>();
    const bool erasing = erase != nullptr && erase->Erasing();
    // Opening a window may ask the user (a disc to continue): after the answer
    // has gone back to the second start.
    if (isVisible() && !erasing && QApplication::activeModalWidget() == nullptr) {
        QMetaObject::invokeMethod(
            this, [this, request] { OpenRequest(request); }, Qt::QueuedConnection);
        return true;
    }
    if (QWidget* window = IdleTaskWindow(request.kind)) {
        QMetaObject::invokeMethod(
            this,
            [this, window = QPointer<QWidget>(window), request] {
                if (window == nullptr) return;
                WindowParts::ShowInFront(window);
                AddToTaskWindow(request.kind, Paths(request.paths));
            },
            Qt::QueuedConnection);
        return true;
    }
    QWidget* window = WindowInUse();
    if (window == nullptr) return false;
    QMetaObject::invokeMethod(
        this,
        [window = QPointer<QWidget>(window)] {
            if (window == nullptr) return;
            ShowMessageBox(window, QText(MainText::HandOverRefused), QText(MainText::NoticeTitle),
                           MessageIcon::Exclamation);
        },
        Qt::QueuedConnection);
    return true;
}
