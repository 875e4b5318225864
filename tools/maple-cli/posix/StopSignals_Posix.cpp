// Platform part of the stop signals: POSIX signals.
#include "StopSignals.h"

#include <unistd.h>

#include <csignal>

namespace {
volatile std::sig_atomic_t g_stop = 0;

void OnStopSignal(int) {
    if (g_stop != 0) return;
    g_stop = 1;
    static const char kNote[] = "\nmaple-cli: stopping at the next safe point...\n";
    // write() is safe in a signal handler; there is nothing to do if it fails.
    [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, kNote, sizeof kNote - 1);
}
}  // namespace

void CatchStopSignals() {
    struct sigaction action {};
    action.sa_handler = &OnStopSignal;
    sigemptyset(&action.sa_mask);
    // Interrupted system calls resume: file and drive I/O must not fail half-way.
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool StopSignalled() {
    return g_stop != 0;
}
