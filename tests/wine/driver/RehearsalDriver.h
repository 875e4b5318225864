#pragma once

#include <QElapsedTimer>
#include <QFile>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <vector>

class QWidget;

// Drives the running maple-writer.exe through a rehearsal, as a user would:
// opens each task window on the drive and goes back, records the image
// MAPLE_REHEARSAL_IMAGE from the record-image window with verification,
// hands the image to the running program from a second start, and ends the
// program with its Exit button. Clicks and keys go through the system's
// input (SendInput), so the windows platform delivers them; every message
// box is logged and answered with its default button. The log goes to the
// file MAPLE_REHEARSAL_LOG; a step that does not finish in time ends the
// program with exit code 3.
class RehearsalDriver : public QObject {
    Q_OBJECT
  public:
    RehearsalDriver();

  private:
    // A step acts on the windows and says whether it is done; it is asked
    // again on each tick until it is.
    struct Step {
        QString name;
        std::function<bool()> run;
    };

    void Tick();
    bool AnswerMessageBox();
    void Log(const QString& line);
    [[noreturn]] void Fail(const QString& why);

    void Then(const QString& name, std::function<bool()> run);
    void ThenClick(const char* window, const char* control);
    void ThenWindow(const char* window);
    void ThenBack(const char* window);
    void ThenTick(const char* window, const char* box, bool ticked);
    void AddTaskVisit(int task, const char* window);
    void AddDataDiscVisit();
    void AddRecording();
    void AddHandOver();

    std::vector<Step> m_steps;
    std::size_t m_next = 0;
    QElapsedTimer m_stepClock;
    QTimer m_timer;
    QFile m_log;
    QString m_image;
    int m_answered = 0;
    int m_answeredBeforeBurn = 0;
};
