// The program: start-up of the main window, then the event loop until the
// user ends it.
#include <QApplication>

#include "ProgramFont.h"
#include "StartUpArguments.h"
#include "TransportSlot.h"
#include "WindowPlacement.h"
#include "frmMain.h"

int main(int argc, char* argv[]) {
    // Windows place themselves beside or centred on the main window, which
    // Wayland does not allow: use X11 (XWayland) when it is there.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication application(argc, argv);
    // The main window hides while a task window is open; only its own close
    // ends the program.
    QApplication::setQuitOnLastWindowClosed(false);
    ApplyProgramFont();
    application.installEventFilter(new WindowPlacement(&application));

    int result = 1;
    {
        frmMain window;
        QObject::connect(&window, &frmMain::endProgram, &application, &QApplication::quit,
                         Qt::QueuedConnection);
        if (window.Load()) {
            // QApplication took its own options out of argv.
            const std::string image = ImageToRecord({argv + 1, argv + argc});
            if (image.empty())
                window.show();
            else
                window.RecordImage(QString::fromLocal8Bit(image.c_str()));
            result = QApplication::exec();
        }
    }
    // The transport closes its drives (and saves virtual drives) before the
    // application object goes away.
    SetTransport(nullptr);
    return result;
}
