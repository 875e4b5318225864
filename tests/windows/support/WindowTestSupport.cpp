#include "WindowTestSupport.h"

#include <QApplication>
#include <QMimeData>
#include <QMouseEvent>
#include <QProcess>
#include <QUrl>
#include <cstdlib>

#include "LanguageFile.h"
#include "ProgramStyle.h"
#include "SettingsStore.h"

MessageBoxRecorder::MessageBoxRecorder() {
    Install();
}

void MessageBoxRecorder::Install() {
    SetMessageBoxHandler([this](const MessageBoxRequest& request) {
        shown.push_back(request);
        if (m_hook) m_hook(request);
        if (!m_answers.empty()) {
            const MessageAnswer answer = m_answers.front();
            m_answers.pop_front();
            return answer;
        }
        return request.buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
    });
}

MessageBoxRecorder::~MessageBoxRecorder() {
    SetMessageBoxHandler({});
}

FakeMainWindow::FakeMainWindow(std::string driveId) : drive(std::move(driveId)) {
    SetMainWindow(this);
}

FakeMainWindow::~FakeMainWindow() {
    if (MainWindow() == this) SetMainWindow(nullptr);
}

WindowTestFolders::WindowTestFolders() {
    std::filesystem::create_directories(Config());
    std::filesystem::create_directories(Data());
    std::filesystem::create_directories(m_folder.File("runtime"));
    setenv("MAPLE_CONFIG_DIR", Config().c_str(), 1);
    setenv("XDG_RUNTIME_DIR", m_folder.File("runtime").c_str(), 1);
    ProgramStyle::SetDataFolder(QString::fromStdString(Data()));
    SetLanguageFilePath("");
}

WindowTestFolders::~WindowTestFolders() {
    CloseAllWindows();
    ProgramStyle::SetDataFolder(QString());
    SetLanguageFilePath("");
    unsetenv("MAPLE_CONFIG_DIR");
    unsetenv("XDG_RUNTIME_DIR");
}

std::string ShippedLanguageFile(const std::string& name) {
    return std::string(MAPLE_SOURCE_DIR) + "/data/" + name + ".lng";
}

void MoveMouseOver(QWidget* widget, QPoint at) {
    if (at == QPoint(-1, -1)) at = widget->rect().center();
    QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

void DropLocalFiles(QWidget* target, const std::vector<std::string>& paths, QPoint at) {
    QMimeData data;
    QList<QUrl> urls;
    for (const auto& path : paths) urls << QUrl::fromLocalFile(QString::fromStdString(path));
    data.setUrls(urls);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
}

void RightPress(QWidget* widget) {
    const QPoint at = widget->rect().center();
    QMouseEvent press(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), Qt::RightButton,
                      Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
}

void CloseAllWindows() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->testAttribute(Qt::WA_DeleteOnClose))
            window->close();
        else
            window->hide();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

bool RunTool(const QString& program, const QStringList& arguments, QString* output) {
    QProcess tool;
    tool.setProcessChannelMode(QProcess::MergedChannels);
    tool.start(program, arguments);
    const bool ran = tool.waitForFinished(60000) && tool.exitStatus() == QProcess::NormalExit &&
                     tool.exitCode() == 0;
    const QString printed = QString::fromUtf8(tool.readAll());
    if (!ran)
        qWarning("%s %s: %s", qPrintable(program), qPrintable(arguments.join(' ')),
                 qPrintable(printed));
    if (output != nullptr) *output = printed;
    return ran;
}
