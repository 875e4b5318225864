#include "BlankCapacity.h"

#include "DriveBusy.h"
#include "ScsiStatus.h"
#include "modMMC.h"

std::int64_t BlankCapacityBytes(const std::string& drive) {
    if (drive.empty() || IsDriveBusy(drive)) return -1;
    if (modMMC::TestUnitReady(drive) != ScsiStatus::kGood) return -1;
    std::int32_t status = ScsiStatus::kGood;
    const modMMC::DiscInfoRecord disc = modMMC::GetDiscStatus(drive, status);
    if (status != ScsiStatus::kGood || disc.DiscState != modMMC::DiscState::kEmpty) return -1;
    const std::int64_t blocks = modMMC::NeedsFormat(drive, disc.MediaType)
                                    ? modMMC::FirstFormatBlocks(drive, disc.MediaType)
                                    : modMMC::FreeBlocks(drive);
    return blocks > 0 ? blocks * 2048 : -1;
}
