#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "BlockHashes.h"
#include "ElapsedTime.h"

class EngineReporter;
class ProgressDisplay;

// How a verification ended.
enum class VerifyOutcome {
    Verified,      // every block read back as it was sent
    Differs,       // blocks differ or cannot be read (see FirstDifference)
    NoDisc,        // the disc did not come back after the reload
    NotAvailable,  // the drive cannot read CD-DA sectors (READ CD)
    Cancelled,     // the user stopped it; the recording itself is complete
    Lost,          // the disc went away or the drive stopped answering (see LostText)
};

// Reads a finished recording back and compares it with the hashes of what
// was sent. The disc is reloaded first (tray out and in), so that the drive
// reads the disc afresh instead of answering from its cache, and the drive
// is given time to become ready; a drive that cannot pull its tray in makes
// it ask for the disc. Data blocks are read 32 per READ(10), CD-DA sectors
// with READ CD, and each read is compared with the hash of its group; a
// block that cannot be read makes its group differ, unless the drive says
// the disc is gone or not ready (or does not answer): that ends the
// verification as Lost, named by the drive's answer. Shows the phase and the
// progress; the caller shows ResultText.
class DiscVerifier {
  public:
    // The elapsed-time panel goes on from `jobStart`, the start of the
    // recording, so that it shows the whole job.
    DiscVerifier(EngineReporter& reporter, const BlockHashes& hashes, const ElapsedTime& jobStart);

    VerifyOutcome Run(const std::string& drive);
    // The step after a recording: Run, unless test mode recorded nothing.
    // `result` gets the sentence for the final message, which the phase
    // panel shows too; a stopped verification shows its message box here.
    VerifyOutcome RunAfterRecording(const std::string& drive, bool testMode, std::string& result);
    // Whether the outcome leaves the recording unconfirmed (a failure).
    static bool Failed(VerifyOutcome outcome) {
        return outcome == VerifyOutcome::Differs || outcome == VerifyOutcome::NoDisc ||
               outcome == VerifyOutcome::Lost;
    }
    // Where the first difference was found (the first block of a group
    // whose hash differs, or a block that could not be read) and the number
    // of groups of up to 32 blocks that differ.
    std::int64_t FirstDifference() const { return m_first; }
    std::int64_t Differences() const { return m_differences; }
    // One sentence for the outcome.
    std::string ResultText(VerifyOutcome outcome) const;
    // The question that asks for the disc when the tray did not bring it back.
    static std::string InsertPrompt();

  private:
    bool Reload(const std::string& drive);
    VerifyOutcome CompareRun(const std::string& drive, const BlockHashes::Run& run,
                             ProgressDisplay& progress);
    bool ReadSingly(const std::string& drive, const BlockHashes::Run& run, std::int64_t index,
                    std::int64_t count);
    // Reads `count` blocks into the buffer from block `into` of it on.
    std::int32_t Read(const std::string& drive, std::int64_t lba, std::int64_t count,
                      std::int32_t blockSize, std::int64_t into);
    void Compare(const BlockHashes::Run& run, std::int64_t index, std::int64_t count);
    void Note(std::int64_t lba);
    bool LostBy(std::int32_t status);

    EngineReporter& m_reporter;
    ElapsedTime m_jobStart;
    const BlockHashes& m_hashes;
    std::vector<std::uint8_t> m_buffer;
    std::int64_t m_done = 0;
    std::int64_t m_first = -1;
    std::int64_t m_differences = 0;
    std::string m_lost;  // why the disc could not be read back (the drive's answer)
};
