// The README's screenshots of the main window. Runs only when
// MAPLE_SCREENSHOT_DIR names the folder to write them to (under Xvfb with
// the xcb platform, MAPLE_VIRTUAL_DRIVES naming a virtual drive, and the
// locale choosing the language); otherwise it is skipped.
#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include "LanguageFile.h"
#include "MouseLabel.h"
#include "ProgramFont.h"
#include "TestEnvironment.h"
#include "TransportSlot.h"
#include "WindowTestSupport.h"
#include "frmCDorDVD.h"
#include "frmMain.h"

class ScreenshotTest : public QObject {
    Q_OBJECT
  private slots:
    void mainWindow() {
        const QString folder = qEnvironmentVariable("MAPLE_SCREENSHOT_DIR");
        if (folder.isEmpty()) QSKIP("MAPLE_SCREENSHOT_DIR is not set");
        TempFolder settings;
        qputenv("MAPLE_CONFIG_DIR", settings.Path().string().c_str());
        qputenv("XDG_RUNTIME_DIR", settings.Path().string().c_str());
        ApplyProgramFont();
        const QString language = QString::fromStdString(GetLanguageName());
        const QString name = language.isEmpty() ? QStringLiteral("main-window-chinese")
                                                : QStringLiteral("main-window-english");

        frmMain window;
        QVERIFY(window.Load());
        window.move(40, 40);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        MoveMouseOver(Control<MouseLabel>(&window, "Picture1(0)"));
        QTest::qWait(300);
        QVERIFY(window.Chooser() != nullptr);
        const QRect area = window.frameGeometry().united(window.Chooser()->frameGeometry());
        const QPixmap shot =
            window.screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
        QVERIFY(shot.save(QDir(folder).filePath(name + QStringLiteral(".png"))));
        SetTransport(nullptr);
    }
};

QTEST_MAIN(ScreenshotTest)
#include "tst_Screenshots.moc"
