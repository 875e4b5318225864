#include "TaskWindows.h"

#include <iterator>

#include "MainWindowLink.h"
#include "MessageBoxSeam.h"
#include "frmSaveISO.h"
#include "frmSaveISO2.h"
#include "frmWriteCDDA.h"
#include "frmWriteISO.h"

namespace {
// The task windows, in task order. A task window registers itself here when
// it exists: it is created on the heap with Qt::WA_DeleteOnClose and shown,
// and it shows MainWindow()->Window() again when it closes.
using OpenFunction = void (*)(int chosenMedium);
constexpr OpenFunction kTaskWindows[] = {
    &frmSaveISO::Open,                      // Task::kDataDisc: the data disc project window
    &frmWriteCDDA::Open,                    // Task::kAudioCd: the audio CD window
    [](int) { frmWriteISO::OpenImage(); },  // Task::kRecordImage: the record-image window
    &frmSaveISO2::Open,                     // Task::kCopyDisc: the disc copy window
};
}  // namespace

bool OpenTaskWindow(int task, int chosenMedium) {
    if (task < 0 || task >= static_cast<int>(std::size(kTaskWindows))) return false;
    const OpenFunction open = kTaskWindows[task];
    if (open == nullptr) return false;
    open(chosenMedium);
    return true;
}

bool OpenRecordImageWindow(const QString& imagePath) {
    frmWriteISO::OpenImage(imagePath);
    return true;
}

void ShowTaskUnavailable(QWidget* parent) {
    ShowMessageBox(parent,
                   QString::fromUtf8("此功能在本版本中尚未提供。\n"
                                     "This task is not available in this version."),
                   QString::fromUtf8("提示"), MessageIcon::Information);
}
