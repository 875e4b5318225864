#include "MediaPresenceWatch.h"

#include <algorithm>

#include "DriveBusy.h"
#include "ScsiStatus.h"
#include "SenseCodes.h"
#include "TransportSlot.h"
#include "modMMC.h"

bool MediaPresenceWatch::Poll(const std::string& drive) {
    const bool wasPresent = m_present && drive == m_drive;
    m_drive = drive;
    m_newMedium = false;
    if (!PollPresence(drive)) return false;
    // Read before the mark: a unit attention the fingerprint commands get is
    // counted in it.
    const Fingerprint fingerprint = ReadFingerprint(drive);
    const MediaChangeMark mark = MediaChanges::Mark(drive);
    const std::uint64_t jobsEnded = DriveJobsEnded(drive);
    m_newMedium = !wasPresent || fingerprint != m_fingerprint || !(mark == m_mark) ||
                  jobsEnded != m_jobsEnded;
    m_fingerprint = fingerprint;
    m_mark = mark;
    m_jobsEnded = jobsEnded;
    return true;
}

bool MediaPresenceWatch::PollPresence(const std::string& drive) {
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
               Transport()->LastASC() == Asc::kMediumNotPresent) {
        m_present = false;
    }
    return m_present;
}

MediaPresenceWatch::Fingerprint MediaPresenceWatch::ReadFingerprint(const std::string& drive) {
    modMMC::DiscInformationBlock disc{};
    std::int32_t status = modMMC::ReadDiscInformation(drive, disc);
    // A pending unit attention answers the first command: ask once more.
    if (status == ScsiStatus::kCheckCondition && Transport() != nullptr &&
        Transport()->LastSK() == SenseKey::kUnitAttention)
        status = modMMC::ReadDiscInformation(drive, disc);
    Fingerprint fingerprint{};
    if (status == ScsiStatus::kGood)
        std::copy(disc.begin() + 2, disc.begin() + 8, fingerprint.begin());
    const std::int64_t lastBlock = modMMC::ReadCapacity(drive);
    for (int i = 0; i < 8; ++i)
        fingerprint[6 + i] =
            static_cast<std::uint8_t>(static_cast<std::uint64_t>(lastBlock) >> (8 * i));
    return fingerprint;
}

bool MediaPresenceWatch::ReadyToStart(const std::string& drive) {
    return !drive.empty() && !IsDriveBusy(drive) && Poll(drive);
}
