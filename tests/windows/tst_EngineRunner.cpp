// The worker-thread runner that windows use for long drive operations. The
// reports and questions that reach a window are the window tests' part.
#include <QAction>
#include <QCheckBox>
#include <QDeadlineTimer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <atomic>

#include "DriveBusy.h"
#include "EngineRunner.h"
#include "WindowTestSupport.h"

class EngineRunnerTest : public QObject {
    Q_OBJECT
  private slots:
    void controlsAreLockedAndTheDriveBusyDuringARunThatUsesIt() {
        QWidget window;
        auto* start = new QPushButton(&window);
        auto* option = new QCheckBox(&window);
        auto* alreadyOff = new QPushButton(&window);
        alreadyOff->setEnabled(false);
        QAction item(&window);
        EngineRunner runner(&window);
        runner.LockWhileRunning({start, option, alreadyOff}, {&item});
        std::atomic<bool> busyInside{false};
        QSignalSpy finished(&runner, &EngineRunner::finished);
        runner.Start([&busyInside](EngineReporter&) { busyInside = IsDriveBusy("virtual1"); },
                     "virtual1");
        QVERIFY(!start->isEnabled() && !option->isEnabled() && !item.isEnabled());
        QVERIFY(!runner.Start([](EngineReporter&) {}));  // one at a time
        QVERIFY(finished.wait(5000));
        QVERIFY(busyInside);
        QVERIFY(!AnyDriveBusy());
        QVERIFY(start->isEnabled() && option->isEnabled() && item.isEnabled());
        QVERIFY(!alreadyOff->isEnabled());
        // Operations without the drive leave it free.
        runner.Start([&busyInside](EngineReporter&) { busyInside = AnyDriveBusy(); });
        QVERIFY(finished.wait(5000));
        QVERIFY(!busyInside);
    }

    void cancelReachesTheEngineAndEndsWithTheRun() {
        QWidget window;
        EngineRunner runner(&window);
        QSignalSpy finished(&runner, &EngineRunner::finished);
        runner.Start([](EngineReporter& reporter) {
            while (!reporter.CancelRequested()) QThread::msleep(1);
        });
        runner.Cancel();
        QVERIFY(finished.wait(5000));
        // A new run starts without the old request.
        std::atomic<bool> cancelledAtStart{true};
        runner.Start(
            [&](EngineReporter& reporter) { cancelledAtStart = reporter.CancelRequested(); });
        QVERIFY(finished.wait(5000));
        QVERIFY(!cancelledAtStart);
    }

    void aWindowGoingAwayAnswersOpenQuestionsCautiously() {
        MessageBoxRecorder boxes;
        std::atomic<MessageAnswer> answer{MessageAnswer::Yes};
        {
            QWidget window;
            auto* runner = new EngineRunner(&window);
            runner->Start([&answer](EngineReporter& reporter) {
                answer =
                    reporter.Message("Go on?", "", MessageIcon::Question, MessageButtons::YesNo);
            });
            // No events run, so the question waits, unshown, until the window goes.
            QDeadlineTimer deadline(20000);
            while (!runner->AwaitingWindow() && !deadline.hasExpired())
                QThread::yieldCurrentThread();
            QVERIFY(runner->AwaitingWindow());
        }
        QCOMPARE(answer.load(), MessageAnswer::No);
        QVERIFY(boxes.shown.empty());
        QVERIFY(!AnyDriveBusy());
    }
};

QTEST_MAIN(EngineRunnerTest)
#include "tst_EngineRunner.moc"
