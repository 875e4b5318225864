#include "EmuDriveState.h"

#include "EmuSpeeds.h"
#include "EmuWritePage.h"

void EmuDriveState::ChangeMedium(EmuMedia next) {
    media = std::move(next);
    beforeSimulation.reset();
    cueSheet.reset();
    reservedBlocks.reset();
    unitAttention = false;
    newMediaEvent = false;
    layoutChanged = true;
    ResetSpeeds();
}

void EmuDriveState::EndSimulation() {
    if (!beforeSimulation) return;
    media = std::move(*beforeSimulation);
    beforeSimulation.reset();
}

std::int64_t EmuDriveState::NextWritableAddress() const {
    return media.NextWritableAddress(EmuWritePage::PreGap(writePage));
}

void EmuDriveState::ResetSpeeds() {
    writeSpeed = EmuSpeeds::WriteSpeeds(media.kind).back();
    readSpeed = EmuSpeeds::ReadSpeeds(media.kind).back();
    rotationControl = 0;
}
