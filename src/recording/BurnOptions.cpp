#include "BurnOptions.h"

#include <sstream>

#include "SettingsStore.h"
#include "ValLike.h"

BurnOptions BurnOptions::ForTask(int task) {
    BurnOptions options;
    options.task = task;
    if (task == RecordingTask::kRecordImage) return options;
    options.imagePath = GetProgramSetting("TempISO");
    options.temporaryImage = options.imagePath;
    options.chosenDiscKind = ValLikeInt(GetProgramSetting("CDorDVD"));
    // A data disc that continues a disc: "start track grow" of the image.
    if (task == RecordingTask::kDataDisc) {
        std::istringstream session(GetProgramSetting("TempISOSession"));
        int grow = 0;
        if (session >> options.startLba >> options.trackNumber >> grow) {
            options.growDisc = grow != 0;
        } else {
            options.startLba = 0;
            options.trackNumber = 1;
        }
    }
    return options;
}
