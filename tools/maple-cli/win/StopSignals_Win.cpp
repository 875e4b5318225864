// Platform part of the stop signals: the Windows console's Ctrl-C, Ctrl-Break
// and close events.
#include <windows.h>

#include <atomic>

#include "StopSignals.h"
#include "modMMCBasic.h"

namespace {
std::atomic<bool> g_stop{false};
HANDLE g_jobEnded = nullptr;

bool Closing(DWORD event) {
    return event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT;
}

BOOL WINAPI OnConsoleEvent(DWORD event) {
    const bool closing = Closing(event);
    if (!closing && event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
    // A closed console is a hang-up: it stops only a job that has not changed the disc.
    if ((!closing || !modMMC::DiscChangeStarted()) && !g_stop.exchange(true)) {
        const std::string& note = StopNote();  // made before the handler was installed
        DWORD written = 0;
        ::WriteFile(::GetStdHandle(STD_ERROR_HANDLE), note.data(), static_cast<DWORD>(note.size()),
                    &written, nullptr);
    }
    // The system ends the program when this returns from a close event: the
    // job is waited for, as long as the system allows, to stop or finish.
    if (closing && g_jobEnded != nullptr) ::WaitForSingleObject(g_jobEnded, INFINITE);
    return TRUE;
}
}  // namespace

void CatchStopSignals() {
    (void)StopNote();
    g_jobEnded = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ::SetConsoleCtrlHandler(&OnConsoleEvent, TRUE);
}

bool StopSignalled() {
    return g_stop.load();
}

void JobEnded() {
    if (g_jobEnded != nullptr) ::SetEvent(g_jobEnded);
}

void IgnoreBrokenPipes() {}
