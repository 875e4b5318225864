// The program: start-up of the main window, then the event loop until the
// user ends it.
#include <QApplication>

#include "EngineMessages.h"
#include "InstanceHandOver.h"
#include "NoSleepWhileWriting.h"
#include "ProgramFont.h"
#include "StartUpArguments.h"
#include "ToolkitTranslations.h"
#include "TransportSlot.h"
#include "WindowPlacement.h"
#include "frmMain.h"

namespace {
// What the command line asks to open; QApplication took its own options out.
// Qt reads Windows' UTF-16 command line, so any file name arrives whole.
StartUpRequest CommandLineRequest() {
    std::vector<std::string> arguments;
    for (const QString& argument : QApplication::arguments().mid(1))
        arguments.push_back(argument.toStdString());
    return ReadStartUpArguments(arguments);
}

// Hands `request` to a program that runs already: true when it took care of it.
bool HandOverToRunningProgram(const StartUpRequest& request) {
    if (request.kind == StartUpRequest::Kind::None) return false;
    QStringList arguments;
    for (const std::string& argument : StartUpArgumentsOf(request))
        arguments << QString::fromStdString(argument);
    return InstanceHandOver::HandOver(arguments);
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
    const StartUpRequest request = CommandLineRequest();
    if (HandOverToRunningProgram(request)) return 0;
    // The main window hides while a task window is open; only its own close
    // ends the program.
    QApplication::setQuitOnLastWindowClosed(false);
    ApplyProgramFont();
    ToolkitTranslations::Install();
    application.installEventFilter(new WindowPlacement(&application));
    // The computer stays awake from the first write to the end of a job.
    NoSleepWhileWriting::SetInhibitor(MakeSystemSleepInhibitor(), Text(EngineMessage::KeepAwake));

    int result = 1;
    {
        frmMain window;
        QObject::connect(&window, &frmMain::endProgram, &application, &QApplication::quit,
                         Qt::QueuedConnection);
        if (window.Load()) {
            // Stops before the window goes away.
            InstanceHandOver handOver;
            handOver.Listen([&window](const QStringList& arguments) {
                return window.TakeHandedOver(arguments);
            });
            if (!window.OpenRequest(request)) window.show();
            result = QApplication::exec();
        }
    }
    // The transport closes its drives (and saves virtual drives) before the
    // application object goes away.
    SetTransport(nullptr);
    NoSleepWhileWriting::SetInhibitor(nullptr);
    return result;
}
