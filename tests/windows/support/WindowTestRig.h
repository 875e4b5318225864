#pragma once

#include "IsolatedProgramFolders.h"
#include "VirtualDriveSession.h"
#include "WindowTestSupport.h"
#include "frmWriteISO.h"

// What a window test on the virtual drive starts from: its own folders, one
// or more virtual drives (the first is the main window's current drive) and
// message boxes recorded. Windows left open are closed before the rest goes.
struct WindowTestRig {
    explicit WindowTestRig(int driveCount = 1) : drives(driveCount) {}
    ~WindowTestRig() { CloseAllWindows(); }

    WindowTestFolders folders;
    IsolatedProgramFolders temp;
    VirtualDriveSession drives;
    FakeMainWindow main{drives.Id()};
    MessageBoxRecorder boxes;
};

// Burn in the record-image window, once its timer has enabled it; waits for
// the end. The window may be gone afterwards.
inline std::optional<BurnOutcome> RunBurn(frmWriteISO& window) {
    window.show();
    window.Timer1Tick();
    return ClickAndWait(window, "CmdBurn", &frmWriteISO::burnFinished);
}
