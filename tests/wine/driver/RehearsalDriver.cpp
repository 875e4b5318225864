#include "RehearsalDriver.h"

#include <windows.h>
// windows.h first.
#include <shellapi.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QStyle>
#include <QStyleOptionButton>
#include <QWidget>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

namespace {
constexpr int kTickMs = 300;
constexpr qint64 kStepTimeoutMs = 120000;

QWidget* Window(const char* name) {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible() && window->objectName() == QLatin1String(name)) return window;
    return nullptr;
}

// The control `name` of the visible window `window` when a user can use it.
template <typename Control = QWidget>
Control* Usable(const char* window, const char* name) {
    QWidget* top = Window(window);
    auto* control = top != nullptr ? top->findChild<Control*>(QLatin1String(name)) : nullptr;
    return control != nullptr && control->isVisible() && control->isEnabled() ? control : nullptr;
}

void Send(std::vector<INPUT> inputs) {
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// A left click at `where` in `control` (its middle by default).
void Click(QWidget* control, std::optional<QPoint> where = std::nullopt) {
    const QPoint point = control->mapToGlobal(where.value_or(control->rect().center()));
    const qreal ratio = control->devicePixelRatioF();
    ::SetCursorPos(qRound(point.x() * ratio), qRound(point.y() * ratio));
    INPUT down{};
    down.type = INPUT_MOUSE;
    down.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    INPUT up = down;
    up.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    Send({down, up});
}

INPUT Key(WORD key, bool release, bool unicode = false) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    if (unicode)
        input.ki.wScan = key;
    else
        input.ki.wVk = key;
    input.ki.dwFlags = (unicode ? KEYEVENTF_UNICODE : 0) | (release ? KEYEVENTF_KEYUP : 0);
    return input;
}

void PressKey(WORD key) {
    Send({Key(key, false), Key(key, true)});
}

// Replaces the text of the box that has the focus: Ctrl+A, then the text.
void Type(const QString& text) {
    std::vector<INPUT> inputs = {Key(VK_CONTROL, false), Key('A', false), Key('A', true),
                                 Key(VK_CONTROL, true)};
    for (const QChar character : text) {
        inputs.push_back(Key(character.unicode(), false, true));
        inputs.push_back(Key(character.unicode(), true, true));
    }
    Send(inputs);
}
}  // namespace

RehearsalDriver::RehearsalDriver()
    : m_log(qEnvironmentVariable("MAPLE_REHEARSAL_LOG")),
      m_image(qEnvironmentVariable("MAPLE_REHEARSAL_IMAGE")) {
    m_log.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text);
    m_steps.push_back({QStringLiteral("the main window lists the drive"), [this] {
                           auto* drives = Usable<QComboBox>("frmMain", "CboDrv");
                           if (drives == nullptr || drives->count() == 0) return false;
                           Log(QStringLiteral("drive: ") + drives->currentText());
                           return true;
                       }});
    AddTaskVisit(1, "frmWriteCDDA");
    AddTaskVisit(3, "frmSaveISO2");
    AddDataDiscVisit();
    AddRecording();
    AddHandOver();
    // The last step: the program ends, or the step times out.
    auto exited = std::make_shared<bool>(false);
    m_steps.push_back({QStringLiteral("Exit ends the program"), [exited] {
                           QWidget* exit = Usable("frmMain", "cmdExit");
                           if (exit != nullptr && !*exited) Click(exit);
                           *exited = *exited || exit != nullptr;
                           return false;
                       }});
    connect(&m_timer, &QTimer::timeout, this, &RehearsalDriver::Tick);
    m_timer.start(kTickMs);
    m_stepClock.start();
    Log(QStringLiteral("driver loaded"));
}

void RehearsalDriver::Tick() {
    if (AnswerMessageBox() || m_next == m_steps.size()) return;
    Step& step = m_steps[m_next];
    if (step.run()) {
        Log(QStringLiteral("done: ") + step.name);
        ++m_next;
        m_stepClock.restart();
    } else if (m_stepClock.elapsed() > kStepTimeoutMs) {
        Fail(QStringLiteral("timed out: ") + step.name);
    }
}

// A message box is logged and answered with Enter (its default button).
bool RehearsalDriver::AnswerMessageBox() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible()) return false;
    if (box->property("rehearsalAnswered").toBool()) return true;
    box->setProperty("rehearsalAnswered", true);
    Log(QStringLiteral("message: %1: %2")
            .arg(box->windowTitle(), box->text().replace(QLatin1Char('\n'), QLatin1Char(' '))));
    PressKey(VK_RETURN);
    ++m_answered;
    return true;
}

void RehearsalDriver::Log(const QString& line) {
    m_log.write(line.toUtf8() + '\n');
    m_log.flush();
}

void RehearsalDriver::Fail(const QString& why) {
    Log(QStringLiteral("FAILED: ") + why);
    // What the user would have seen, for the one reading the log.
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible())
            Log(QStringLiteral("visible: %1 %2: %3")
                    .arg(QLatin1String(window->metaObject()->className()), window->objectName(),
                         window->windowTitle()));
    std::_Exit(3);
}

void RehearsalDriver::Then(const QString& name, std::function<bool()> run) {
    m_steps.push_back({name, std::move(run)});
}

void RehearsalDriver::ThenClick(const char* window, const char* control) {
    Then(QStringLiteral("click %1 %2").arg(QLatin1String(window), QLatin1String(control)),
         [window, control] {
             QWidget* target = Usable(window, control);
             if (target != nullptr) Click(target);
             return target != nullptr;
         });
}

void RehearsalDriver::ThenWindow(const char* window) {
    Then(QStringLiteral("window %1 opens").arg(QLatin1String(window)), [this, window] {
        QWidget* shown = Window(window);
        if (shown != nullptr)
            Log(QStringLiteral("window: %1: %2").arg(window, shown->windowTitle()));
        return shown != nullptr;
    });
}

void RehearsalDriver::ThenBack(const char* window) {
    ThenClick(window, "cmdBack");
    Then(QStringLiteral("back from %1").arg(QLatin1String(window)),
         [window] { return Window(window) == nullptr && Window("frmMain") != nullptr; });
}

// Sets the check box to `ticked` with clicks.
void RehearsalDriver::ThenTick(const char* window, const char* box, bool ticked) {
    Then(QStringLiteral("%1 %2").arg(QLatin1String(ticked ? "tick" : "untick"), box),
         [window, box, ticked, clicked = std::make_shared<QElapsedTimer>()] {
             auto* check = Usable<QCheckBox>(window, box);
             if (check == nullptr) return false;
             if (check->isChecked() == ticked) return true;
             if (!clicked->isValid() || clicked->elapsed() > 1500) {
                 // A check box takes clicks on its box and its text only.
                 QStyleOptionButton option;
                 option.initFrom(check);
                 Click(check, check->style()
                                  ->subElementRect(QStyle::SE_CheckBoxIndicator, &option, check)
                                  .center());
                 clicked->start();
             }
             return false;
         });
}

void RehearsalDriver::AddTaskVisit(int task, const char* window) {
    static const char* const labels[] = {"LblText(0)", "LblText(1)", "LblText(2)", "LblText(3)"};
    ThenClick("frmMain", labels[task]);
    ThenWindow(window);
    ThenBack(window);
}

void RehearsalDriver::AddDataDiscVisit() {
    ThenClick("frmMain", "LblText(0)");
    ThenWindow("frmCDorDVD");
    ThenClick("frmCDorDVD", "LblText(0)");  // a CD
    ThenWindow("frmSaveISO");
    ThenBack("frmSaveISO");
}

void RehearsalDriver::AddRecording() {
    ThenClick("frmMain", "LblText(2)");
    ThenWindow("frmWriteISO");
    ThenClick("frmWriteISO", "txtISO");
    Then(QStringLiteral("type the image's name"), [this] {
        Type(m_image);
        return true;
    });
    Then(QStringLiteral("Burn becomes possible"), [] { return Usable("frmWriteISO", "CmdBurn"); });
    ThenTick("frmWriteISO", "chkEjectDisc", false);
    ThenTick("frmWriteISO", "chkVerify", true);
    Then(QStringLiteral("start the recording"), [this] {
        QWidget* burn = Usable("frmWriteISO", "CmdBurn");
        if (burn != nullptr) Click(burn);
        m_answeredBeforeBurn = m_answered;
        return burn != nullptr;
    });
    // The last message ends the task: the window closes, the main window returns.
    Then(QStringLiteral("the recording ends"), [this] {
        return m_answered > m_answeredBeforeBurn && QApplication::activeModalWidget() == nullptr &&
               Window("frmWriteISO") == nullptr && Window("frmMain") != nullptr;
    });
}

void RehearsalDriver::AddHandOver() {
    // As Explorer opens an .iso: the shell starts the program its association
    // names, without this driver.
    auto second = std::make_shared<HANDLE>(nullptr);
    Then(QStringLiteral("a second start hands the image over"), [this, second] {
        if (*second == nullptr) {
            qunsetenv("QT_QPA_GENERIC_PLUGINS");
            const std::wstring image = m_image.toStdWString();
            SHELLEXECUTEINFOW open{};
            open.cbSize = sizeof open;
            open.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
            open.lpVerb = L"open";
            open.lpFile = image.c_str();
            open.nShow = SW_SHOWNORMAL;
            if (!::ShellExecuteExW(&open) || open.hProcess == nullptr)
                Fail(QStringLiteral("the shell did not open the image"));
            *second = open.hProcess;
            return false;
        }
        if (::WaitForSingleObject(*second, 0) == WAIT_TIMEOUT) return false;
        DWORD code = 1;
        ::GetExitCodeProcess(*second, &code);
        ::CloseHandle(*second);
        Log(QStringLiteral("second start: exit code %1").arg(code));
        if (code != 0) Fail(QStringLiteral("the second start did not hand over"));
        return true;
    });
    ThenWindow("frmWriteISO");
    Then(QStringLiteral("the handed-over image is chosen"), [this] {
        auto* image = Usable<QLineEdit>("frmWriteISO", "txtISO");
        if (image == nullptr) return false;
        Log(QStringLiteral("image: ") + image->text());
        return true;
    });
    ThenBack("frmWriteISO");
}
