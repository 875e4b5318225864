#include "MediaPresenceWatch.h"

#include "DriveBusy.h"
#include "ScsiStatus.h"
#include "TransportSlot.h"
#include "modMMC.h"

bool MediaPresenceWatch::Poll(const std::string& drive) {
    const std::int32_t present = modMMC::MediaPresent(drive);
    if (present >= 0) {
        m_present = present == 1;
        return m_present;
    }
    // No media events (or the kernel consumed them): ask for readiness instead.
    const std::int32_t status = modMMC::TestUnitReady(drive);
    if (status == ScsiStatus::kGood) {
        m_present = true;
    } else if (status == ScsiStatus::kCheckCondition && Transport() != nullptr &&
               Transport()->LastASC() == 0x3A) {  // medium not present
        m_present = false;
    }
    return m_present;
}

bool MediaPresenceWatch::ReadyToStart(const std::string& drive) {
    return !drive.empty() && !IsDriveBusy() && Poll(drive);
}
