#include "WriteWithRetry.h"

#include "ScsiStatus.h"
#include "SenseCodes.h"
#include "Sleeper.h"
#include "TransportSlot.h"
#include "modMMC.h"

namespace {
bool IsWriteError() {
    const clsSCSI* transport = Transport();
    return transport->LastSK() == SenseKey::kMediumError &&
           transport->LastASC() == Asc::kWriteError;
}
}  // namespace

WriteOutcome WriteWithRetry(const std::string& drive, std::uint32_t lba, std::uint16_t blocks,
                            const void* buffer, std::int32_t length, std::int32_t* lastStatus) {
    if (Transport() == nullptr || (length > 0 && buffer == nullptr) || length < 0) {
        return WriteOutcome::OtherFailure;
    }
    std::int32_t unused = 0;
    std::int32_t& status = lastStatus != nullptr ? *lastStatus : unused;
    for (int failures = 0;; ++failures) {
        status = modMMC::Write10(drive, lba, blocks, buffer, length);
        if (status == ScsiStatus::kGood) break;
        // The last attempt gives up whatever the drive said.
        if (failures + 1 >= kWriteAttempts) return WriteOutcome::GaveUp;
        if (IsWriteError()) return WriteOutcome::WriteError;
        SleepMilliseconds(kWriteRetryWaitMs);
    }
    return WriteOutcome::Written;
}
