#pragma once

#include <cstdint>
#include <string>

#include "BurnOptions.h"
#include "DiscCopier.h"
#include "ImageBurner.h"

class EngineReporter;

// A disc copied from one drive onto a blank disc in another at once, with no
// temporary image: the source is read (DiscCopier, with its retries and
// BadCopy) on a thread of its own into a pipe, which the recording on the
// target (ImageBurner, task 3: the blank must be of the source's kind) reads
// as a stream. The source drive is held and marked busy throughout, the
// target by its recording. The recording shows the progress; a failed read
// ends the stream early, so the recording fails and closes its disc; a
// recording that fails or is stopped stops the reading.
class DriveToDriveCopy {
  public:
    // The program's FIFO between the reading and the recording.
    static constexpr std::size_t kFifoBytes = std::size_t{16} << 20;

    // `recording`: the options of the record-image window (task, speed,
    // test mode, eject, verify); its image and disc kind are set here.
    DriveToDriveCopy(EngineReporter& reporter, CopyOptions copy, BurnOptions recording);

    // Refused (nothing recorded) when a check of either drive said no.
    // CompletedWithErrors also when every block was recorded but the reading
    // failed at its end (it read nothing but zeros).
    BurnOutcome Run(const std::string& source, const std::string& target);

    // Sectors that could not be read and were recorded as zeros (BadCopy).
    std::int64_t SkippedSectors() const { return m_skipped; }
    // The reading's summary: the zero-filled sectors, the whole medium taken.
    const std::string& Summary() const { return m_summary; }

  private:
    EngineReporter& m_reporter;
    CopyOptions m_copy;
    BurnOptions m_recording;
    std::int64_t m_skipped = 0;
    std::string m_summary;
};
