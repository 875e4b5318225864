// Platform part of the stop signals: POSIX signals.
#include <unistd.h>

#include <csignal>

#include "StopSignals.h"
#include "modMMCBasic.h"

namespace {
volatile std::sig_atomic_t g_stop = 0;
volatile std::sig_atomic_t g_hangUp = 0;

void Note() {
    const std::string& note = StopNote();  // made before the handler was installed
    // write() is safe in a signal handler; there is nothing to do if it fails.
    [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, note.data(), note.size());
}

void OnStopSignal(int signal) {
    if (StopSignalled()) return;
    if (signal == SIGHUP) {
        g_hangUp = 1;
        if (modMMC::DiscChangeStarted()) return;  // the job goes on to its end
    } else {
        g_stop = 1;
    }
    Note();
}
}  // namespace

void CatchStopSignals() {
    (void)StopNote();
    struct sigaction action {};
    action.sa_handler = &OnStopSignal;
    sigemptyset(&action.sa_mask);
    // Interrupted system calls resume: file and drive I/O must not fail half-way.
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
}

bool StopSignalled() {
    return g_stop != 0 || (g_hangUp != 0 && !modMMC::DiscChangeStarted());
}

void JobEnded() {}

void IgnoreBrokenPipes() {
    std::signal(SIGPIPE, SIG_IGN);
}
