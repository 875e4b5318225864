#pragma once

#include <QApplication>
#include <QObject>
#include <QPoint>
#include <QPushButton>
#include <QSignalSpy>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QWidget>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "MainWindowLink.h"
#include "MessageBoxSeam.h"
#include "TestEnvironment.h"

// The control `name` of `parent`; a missing control ends the test run, since
// every later step would only repeat that failure.
template <typename T>
T* Control(const QObject* parent, const QString& name) {
    T* control = parent->findChild<T*>(name);
    if (control == nullptr) qFatal("control %s not found", qPrintable(name));
    return control;
}

// Records every message box a window asks for and answers from a queue
// (Ok / Yes when the queue is empty). Installed for the object's lifetime.
class MessageBoxRecorder {
  public:
    MessageBoxRecorder();
    ~MessageBoxRecorder();
    // Takes the boxes again after a test let real ones through.
    void Install();
    void QueueAnswer(MessageAnswer answer) { m_answers.push_back(answer); }
    // Called on the window thread when a box is shown, before it is answered.
    void OnShow(std::function<void(const MessageBoxRequest&)> hook) { m_hook = std::move(hook); }

    std::vector<MessageBoxRequest> shown;

  private:
    std::deque<MessageAnswer> m_answers;
    std::function<void(const MessageBoxRequest&)> m_hook;
};

// A main window for the windows that read the current drive.
class FakeMainWindow : public MainWindowLink {
  public:
    explicit FakeMainWindow(std::string drive = {});
    ~FakeMainWindow() override;
    std::string CurrentDrive() const override { return drive; }
    bool DriveListEmpty() const override { return drive.empty(); }
    int StartedTask() const override { return startedTask; }
    QWidget* Window() override { return &widget; }

    std::string drive;
    int startedTask = Task::kNone;
    QWidget widget;
};

// Per-test folders for settings, the instance lock and data files, and the
// built-in texts (no language file) unless a test chooses one.
class WindowTestFolders {
  public:
    WindowTestFolders();
    ~WindowTestFolders();
    const TempFolder& Folder() const { return m_folder; }
    std::string Config() const { return m_folder.File("config"); }
    std::string Data() const { return m_folder.File("data"); }

  private:
    TempFolder m_folder;
};

// The shipped language file of that name ("English").
std::string ShippedLanguageFile(const std::string& name);

// Sends a mouse move (no button pressed) to `widget` at `at` (its centre by default).
void MoveMouseOver(QWidget* widget, QPoint at = QPoint(-1, -1));
// Drops local files and folders on `target` as a drag from the desktop does
// (a drag entering at `at`, then the drop).
void DropLocalFiles(QWidget* target, const std::vector<std::string>& paths,
                    QPoint at = QPoint(20, 20));
// Sends a right button press to `widget`.
void RightPress(QWidget* widget);
// Closes and deletes every top-level window left over by a test.
void CloseAllWindows();

// The visible top-level window of type T, or nullptr.
template <typename T>
T* VisibleWindow() {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* found = qobject_cast<T*>(window); found != nullptr && found->isVisible())
            return found;
    return nullptr;
}

// Clicks `button` of `window` and waits until `finished` (a signal of the
// window) arrives; returns the window's LastOutcome() as it was at that
// signal, since a window that is done may close itself.
template <typename Window, typename Signal>
auto ClickAndWait(Window& window, const char* button, Signal finished, int ms = 20000) {
    decltype(window.LastOutcome()) outcome{};
    const QMetaObject::Connection reading =
        QObject::connect(&window, finished, [&] { outcome = window.LastOutcome(); });
    QSignalSpy ended(&window, finished);
    QTest::mouseClick(Control<QPushButton>(&window, button), Qt::LeftButton);
    if (!ended.wait(ms)) qFatal("%s did not end", button);
    QObject::disconnect(reading);
    return outcome;
}

// Runs a tool (xorriso, sox, ...); false, with what it printed, when it
// fails. `output` receives its standard output and error.
bool RunTool(const QString& program, const QStringList& arguments, QString* output = nullptr);
