#include "TaskWindows.h"

#include <iterator>

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

void OpenTaskWindow(int task, int chosenMedium) {
    Q_ASSERT(task >= 0 && task < static_cast<int>(std::size(kTaskWindows)));
    kTaskWindows[task](chosenMedium);
}

void OpenRecordImageWindow(const QString& imagePath) {
    frmWriteISO::OpenImage(imagePath);
}
