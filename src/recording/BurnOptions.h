#pragma once

#include <cstdint>
#include <string>

#include "RecordingTask.h"
#include "SpeedList.h"

// What a recording of an image is asked to do: the image, the task that was
// started, and the options of the recording window.
struct BurnOptions {
    std::string imagePath;                   // the image to record
    int task = RecordingTask::kRecordImage;  // 0 data disc, 2 record an image, 3 copy
    int chosenDiscKind = 0;                  // tasks 0 and 3: 0 CD, 1 DVD ("CDorDVD")
    std::string temporaryImage;              // tasks 0 and 3: the path read from "TempISO"
    SpeedEntry writeSpeed = DefaultSpeedEntry();
    bool testMode = false;  // simulate: the drive records nothing
    bool fixDisc = true;    // no further session may be added
    bool ejectDisc = true;
    bool verify = false;  // read the recording back and compare it with what was sent
    bool raw = false;     // record the file as it is: the volume it declares is not checked
    // Adding to a disc (ImageBurner::AddSession): where the image goes, the
    // track it becomes, and whether the disc grows in place (its volume
    // descriptors at block 16 rewritten from the image's afterwards).
    std::int64_t startLba = 0;
    std::uint16_t trackNumber = 1;
    bool growDisc = false;

    // Options of a recording started for `task`: for tasks 0 and 3 the image
    // and its disc kind come from "TempISO" and "CDorDVD", as the data disc and
    // copy windows left them (task 0 also the place of an image that
    // continues a disc, "TempISOSession"); task 2 starts without an image.
    static BurnOptions ForTask(int task);
};
