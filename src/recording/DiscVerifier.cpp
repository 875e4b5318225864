#include "DiscVerifier.h"

#include <algorithm>
#include <span>

#include "DriveFailure.h"
#include "EngineMessages.h"
#include "EngineReporter.h"
#include "ProgressDisplay.h"
#include "ScsiStatus.h"
#include "SenseCodes.h"
#include "TransportSlot.h"
#include "clsSCSI.h"
#include "modMMC.h"

namespace {
constexpr std::int64_t kBlocksPerRead = 32;
constexpr std::int32_t kCddaBytes = 2352;

// The drive refused the command itself (unknown opcode, field not supported).
bool LastCommandRefused() {
    const clsSCSI* transport = Transport();
    return transport != nullptr && transport->LastSK() == SenseKey::kIllegalRequest;
}

// READ CD of `count` CD-DA sectors, user data only.
std::int32_t ReadCdda(const std::string& drive, std::int64_t lba, std::int64_t count,
                      std::uint8_t* buffer) {
    return modMMC::ReadCd(drive, static_cast<std::uint32_t>(lba), static_cast<std::uint32_t>(count),
                          buffer, static_cast<std::int32_t>(count * kCddaBytes));
}
}  // namespace

DiscVerifier::DiscVerifier(EngineReporter& reporter, const BlockHashes& hashes,
                           const ElapsedTime& jobStart)
    : m_reporter(reporter),
      m_jobStart(jobStart),
      m_hashes(hashes),
      m_buffer(kBlocksPerRead * kCddaBytes) {}

VerifyOutcome DiscVerifier::Run(const std::string& drive) {
    m_done = 0;
    m_first = -1;
    m_differences = 0;
    m_lost.clear();
    if (!Reload(drive)) return VerifyOutcome::NoDisc;
    m_reporter.PhaseText(Text(EngineMessage::Verifying));
    ProgressDisplay progress(m_reporter);
    progress.Start(m_jobStart);
    for (const BlockHashes::Run& run : m_hashes.Runs()) {
        const VerifyOutcome outcome = CompareRun(drive, run, progress);
        if (outcome != VerifyOutcome::Verified) return outcome;
    }
    return m_differences == 0 ? VerifyOutcome::Verified : VerifyOutcome::Differs;
}

VerifyOutcome DiscVerifier::RunAfterRecording(const std::string& drive, bool testMode,
                                              std::string& result) {
    if (testMode) {
        result = Text(EngineMessage::VerifyTestMode);
        return VerifyOutcome::Verified;
    }
    const VerifyOutcome outcome = Run(drive);
    result = ResultText(outcome);
    m_reporter.PhaseText(result);
    if (outcome == VerifyOutcome::Cancelled)
        m_reporter.Message(result, Text(EngineMessage::StoppedTitle), MessageIcon::Information,
                           MessageButtons::Ok);
    return outcome;
}

// Tray out and in, then ready; a disc the tray did not bring back is asked for.
bool DiscVerifier::Reload(const std::string& drive) {
    m_reporter.PhaseText(Text(EngineMessage::VerifyReload));
    (void)modMMC::EjectTray(drive, modMMC::Immed::kOff);
    (void)modMMC::LoadTray(drive, modMMC::Immed::kOff);
    for (;;) {
        const std::int32_t ready = modMMC::WaitUnitReady(drive, modMMC::kReloadReadyWaitMs);
        if (ready == 1) return true;
        if (ready != 0) return false;  // still not ready
        if (m_reporter.Message(InsertPrompt(), Text(EngineMessage::VerifyTitle),
                               MessageIcon::Question,
                               MessageButtons::OkCancel) != MessageAnswer::Ok)
            return false;
        (void)modMMC::LoadTray(drive, modMMC::Immed::kOff);
    }
}

std::string DiscVerifier::InsertPrompt() {
    return Text(EngineMessage::VerifyInsert);
}

VerifyOutcome DiscVerifier::CompareRun(const std::string& drive, const BlockHashes::Run& run,
                                       ProgressDisplay& progress) {
    static_assert(kBlocksPerRead == BlockHashes::kBlocksPerHash, "one read per group");
    for (std::int64_t index = 0; index < run.blocks;) {
        if (m_reporter.CancelRequested()) return VerifyOutcome::Cancelled;
        const std::int64_t count = std::min(kBlocksPerRead, run.blocks - index);
        const std::int64_t lba = run.firstLba + index;
        const std::int32_t status = Read(drive, lba, count, run.blockSize, 0);
        if (status == ScsiStatus::kGood) {
            Compare(run, index, count);
        } else if (run.blockSize == kCddaBytes && m_done == 0 && LastCommandRefused()) {
            return VerifyOutcome::NotAvailable;  // the drive knows no READ CD
        } else if (LostBy(status) || !ReadSingly(drive, run, index, count)) {
            return VerifyOutcome::Lost;
        }
        index += count;
        m_done += count;
        progress.Update(m_done, m_hashes.BlockCount());
    }
    return VerifyOutcome::Verified;
}

// Block by block, to tell which one cannot be read; the group is compared
// when all of them could be. False when the disc is gone (LostBy).
bool DiscVerifier::ReadSingly(const std::string& drive, const BlockHashes::Run& run,
                              std::int64_t index, std::int64_t count) {
    for (std::int64_t at = 0; at < count; ++at) {
        const std::int32_t status = Read(drive, run.firstLba + index + at, 1, run.blockSize, at);
        if (status == ScsiStatus::kGood) continue;
        if (LostBy(status)) return false;
        Note(run.firstLba + index + at);
        return true;
    }
    Compare(run, index, count);
    return true;
}

std::int32_t DiscVerifier::Read(const std::string& drive, std::int64_t lba, std::int64_t count,
                                std::int32_t blockSize, std::int64_t into) {
    std::uint8_t* const buffer = m_buffer.data() + into * blockSize;
    if (blockSize == kCddaBytes) return ReadCdda(drive, lba, count, buffer);
    return modMMC::Read10(drive, static_cast<std::uint32_t>(lba), static_cast<std::uint16_t>(count),
                          buffer, static_cast<std::int32_t>(count * blockSize));
}

// The buffer holds the `count` blocks of the group that starts at `index`.
void DiscVerifier::Compare(const BlockHashes::Run& run, std::int64_t index, std::int64_t count) {
    const std::span<const std::uint8_t> group(m_buffer.data(),
                                              static_cast<std::size_t>(count * run.blockSize));
    if (BlockHashes::Of(group) != run.hashes[static_cast<std::size_t>(index / kBlocksPerRead)])
        Note(run.firstLba + index);
}

void DiscVerifier::Note(std::int64_t lba) {
    if (m_differences++ == 0) m_first = lba;
}

// A failed read that says nothing about the blocks: no disc, another disc, a
// drive that is not ready or was not reached.
bool DiscVerifier::LostBy(std::int32_t status) {
    const DriveFailure failure = ClassifyFailure(status);
    const bool lost = failure == DriveFailure::MediumRemoved ||
                      failure == DriveFailure::MediumChanged || failure == DriveFailure::NotReady ||
                      (failure == DriveFailure::Other && status != ScsiStatus::kCheckCondition);
    if (lost) m_lost = FailureText(status, false, {}, {});
    return lost;
}

std::string DiscVerifier::ResultText(VerifyOutcome outcome) const {
    switch (outcome) {
        case VerifyOutcome::Verified:
            return Text(EngineMessage::Verified, {std::to_string(m_hashes.BlockCount())});
        case VerifyOutcome::Differs:
            return Text(EngineMessage::VerifyDiffers,
                        {std::to_string(m_differences), std::to_string(m_first)});
        case VerifyOutcome::NoDisc:
            return Text(EngineMessage::VerifyNoDisc);
        case VerifyOutcome::NotAvailable:
            return Text(EngineMessage::VerifyNoAudio);
        case VerifyOutcome::Cancelled:
            return Text(EngineMessage::VerifyStopped);
        case VerifyOutcome::Lost:
            return Text(EngineMessage::VerifyLost, {m_lost});
    }
    return {};
}
