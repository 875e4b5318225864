// The README's screenshots of the windows. Runs only when
// MAPLE_SCREENSHOT_DIR names the folder to write them to (under Xvfb with
// the xcb platform, MAPLE_VIRTUAL_DRIVES naming a virtual drive, and the
// locale choosing the language); otherwise it is skipped.
#include <QDir>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QTest>

#include "LanguageFile.h"
#include "MouseLabel.h"
#include "ProgramFont.h"
#include "TestEnvironment.h"
#include "TransportSlot.h"
#include "WindowTestSupport.h"
#include "frmCDorDVD.h"
#include "frmDiscInfo.h"
#include "frmErase.h"
#include "frmMain.h"
#include "frmWriteCDDA.h"

namespace {
bool SaveShot(QWidget& window, const QString& name) {
    const QRect area = window.frameGeometry();
    const QPixmap shot =
        window.screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
    return shot.save(QDir(qEnvironmentVariable("MAPLE_SCREENSHOT_DIR")).filePath(name + ".png"));
}
}  // namespace

class ScreenshotTest : public QObject {
    Q_OBJECT
    // The audio window with three tracks of different formats.
    void ShowAudioWindow(const QString& language) {
        TempFolder music;
        const std::pair<const char*, QStringList> tracks[] = {
            {"01 Morning.wav", {"-r", "44100", "-c", "2", "-b", "16"}},
            {"02 Rain.wav", {"-r", "48000", "-c", "2", "-b", "24"}},
            {"03 Evening.wav", {"-r", "22050", "-c", "1", "-b", "8"}},
        };
        QStringList paths;
        for (const auto& [name, format] : tracks) {
            paths << QString::fromStdString(music.File(name));
            QVERIFY(QProcess::execute(
                        "sox", QStringList{"-n"} + format +
                                   QStringList{paths.back(), "synth", "95", "sine", "440"}) == 0);
        }
        auto* audio = new frmWriteCDDA();
        audio->move(40, 40);
        audio->show();
        audio->AddDroppedFiles(paths);
        QVERIFY(QTest::qWaitForWindowExposed(audio));
        QTest::qWait(500);
        QVERIFY(SaveShot(*audio, "audio-cd-" + language));
        audio->close();
    }

  private slots:
    void windows() {
        if (qEnvironmentVariableIsEmpty("MAPLE_SCREENSHOT_DIR"))
            QSKIP("MAPLE_SCREENSHOT_DIR is not set");
        TempFolder settings;
        qputenv("MAPLE_CONFIG_DIR", settings.Path().string().c_str());
        qputenv("XDG_RUNTIME_DIR", settings.Path().string().c_str());
        ApplyProgramFont();
        const QString language =
            GetLanguageName().empty() ? QStringLiteral("chinese") : QStringLiteral("english");

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
        QVERIFY(shot.save(QDir(qEnvironmentVariable("MAPLE_SCREENSHOT_DIR"))
                              .filePath("main-window-" + language + ".png")));
        window.hide();
        window.Chooser()->close();

        frmDiscInfo* info = frmDiscInfo::ShowWindow();
        info->move(40, 40);
        QVERIFY(QTest::qWaitForWindowExposed(info));
        QTest::qWait(500);
        QVERIFY(SaveShot(*info, "disc-information-" + language));
        info->close();
        frmErase* erase = frmErase::ShowWindow();
        erase->move(40, 40);
        QVERIFY(QTest::qWaitForWindowExposed(erase));
        QTest::qWait(500);
        QVERIFY(SaveShot(*erase, "erase-" + language));
        erase->close();
        ShowAudioWindow(language);
        SetTransport(nullptr);
    }
};

QTEST_MAIN(ScreenshotTest)
#include "tst_Screenshots.moc"
