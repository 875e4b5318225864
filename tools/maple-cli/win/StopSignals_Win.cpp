// Platform part of the stop signals: the Windows console's Ctrl-C, Ctrl-Break
// and close events.
#include <windows.h>

#include <atomic>

#include "StopSignals.h"

namespace {
std::atomic<bool> g_stop{false};

BOOL WINAPI OnConsoleEvent(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT)
        return FALSE;
    if (!g_stop.exchange(true)) {
        static const char kNote[] = "\nmaple-cli: stopping at the next safe point...\n";
        DWORD written = 0;
        ::WriteFile(::GetStdHandle(STD_ERROR_HANDLE), kNote, sizeof kNote - 1, &written, nullptr);
    }
    return TRUE;
}
}  // namespace

void CatchStopSignals() {
    ::SetConsoleCtrlHandler(&OnConsoleEvent, TRUE);
}

bool StopSignalled() {
    return g_stop.load();
}
