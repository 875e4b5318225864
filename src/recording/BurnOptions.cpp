#include "BurnOptions.h"

#include "SettingsStore.h"
#include "ValLike.h"

BurnOptions BurnOptions::ForTask(int task) {
    BurnOptions options;
    options.task = task;
    if (task == RecordingTask::kRecordImage) return options;
    options.imagePath = GetProgramSetting("TempISO");
    options.temporaryImage = options.imagePath;
    options.chosenDiscKind = ValLikeInt(GetProgramSetting("CDorDVD"));
    return options;
}
