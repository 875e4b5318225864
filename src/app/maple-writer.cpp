// The program: start-up of the main window, then the event loop until the
// user ends it.
#include <QApplication>

#include "InstanceHandOver.h"
#include "ProgramFont.h"
#include "StartUpArguments.h"
#include "ToolkitTranslations.h"
#include "TransportSlot.h"
#include "WindowPlacement.h"
#include "frmMain.h"

namespace {
// The image named on the command line; QApplication took its own options out.
// Qt reads Windows' UTF-16 command line, so any file name arrives whole.
std::string ImageArgument() {
    std::vector<std::string> arguments;
    for (const QString& argument : QApplication::arguments().mid(1))
        arguments.push_back(argument.toStdString());
    return ImageToRecord(arguments);
}

// A file opened while the program runs: only the main window, waiting for a
// task, takes it; a task window may be recording.
bool TakeHandedOverImage(frmMain& window, const QString& image) {
    if (!window.isVisible() || QApplication::activeModalWidget() != nullptr) return false;
    window.RecordImage(image);
    return true;
}
}  // namespace

int main(int argc, char* argv[]) {
#ifndef Q_OS_WIN
    // Windows place themselves beside or centred on the main window, which
    // Wayland does not allow: use X11 (XWayland) when it is there.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
#endif
    QApplication application(argc, argv);
    const QString image = QString::fromStdString(ImageArgument());
    if (!image.isEmpty() && InstanceHandOver::HandOver(image)) return 0;
    // The main window hides while a task window is open; only its own close
    // ends the program.
    QApplication::setQuitOnLastWindowClosed(false);
    ApplyProgramFont();
    ToolkitTranslations::Install();
    application.installEventFilter(new WindowPlacement(&application));

    int result = 1;
    {
        frmMain window;
        QObject::connect(&window, &frmMain::endProgram, &application, &QApplication::quit,
                         Qt::QueuedConnection);
        if (window.Load()) {
            // Stops before the window goes away.
            InstanceHandOver handOver;
            handOver.Listen(
                [&window](const QString& file) { return TakeHandedOverImage(window, file); });
            if (image.isEmpty())
                window.show();
            else
                window.RecordImage(image);
            result = QApplication::exec();
        }
    }
    // The transport closes its drives (and saves virtual drives) before the
    // application object goes away.
    SetTransport(nullptr);
    return result;
}
