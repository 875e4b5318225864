#include "DriveToDriveCopy.h"

#include <mutex>
#include <thread>
#include <vector>

#include "DriveBusy.h"
#include "DriveClaim.h"
#include "EngineReporter.h"
#include "PipeSectorSink.h"
#include "SharedReporter.h"
#include "StreamImageReader.h"
#include "StreamPipe.h"

namespace {
constexpr std::int64_t kSectorBytes = 2048;

// Reads the pipe empty until its writer has closed its end.
void Drain(FileHandleRecord& readEnd) {
    std::vector<std::uint8_t> drain(64 * 1024);
    while (modFileAccess::FileRead(readEnd, drain.data(), static_cast<std::int64_t>(drain.size())) >
           0) {
    }
}
}  // namespace

DriveToDriveCopy::DriveToDriveCopy(EngineReporter& reporter, CopyOptions copy,
                                   BurnOptions recording)
    : m_reporter(reporter), m_copy(std::move(copy)), m_recording(std::move(recording)) {
    m_copy.imageOnly = false;
    m_recording.task = RecordingTask::kCopyDisc;
    m_recording.imagePath.clear();
    m_recording.temporaryImage.clear();
}

BurnOutcome DriveToDriveCopy::Run(const std::string& source, const std::string& target) {
    std::mutex lock;
    SharedReporter reading(m_reporter, lock, SharedReporter::Side::Reading);
    SharedReporter recording(m_reporter, lock, SharedReporter::Side::Recording);
    const DriveBusyScope busy(source);
    const DriveClaim claim(source);
    DiscCopier copier(reading, m_copy);
    if (!copier.CheckSource(source, claim)) return BurnOutcome::Refused;
    const std::int64_t sectors = copier.StreamSectors(source);
    FileHandleRecord readEnd, writeEnd;
    if (sectors <= 0 || !OpenStreamPipe(readEnd, writeEnd)) return BurnOutcome::Refused;
    const std::string name = Text(CopyText::SourceDisc);
    bool readWell = false;  // the reader's own, read after the join
    std::thread reader([&] {
        PipeSectorSink sink(writeEnd, name);
        readWell = copier.ReadToSink(source, sink);
        modFileAccess::FileClose(writeEnd);  // the recording sees the end
    });
    StreamImageReader stream(readEnd, name, kFifoBytes);
    BurnOutcome outcome = BurnOutcome::Refused;
    if (stream.Open(sectors * kSectorBytes)) {
        m_recording.chosenDiscKind = copier.SourceIsDvd() ? 1 : 0;
        ImageBurner burner(recording, m_recording);
        outcome = burner.BurnSource(target, stream);
    }
    reading.Stop();
    stream.Close();
    Drain(readEnd);
    reader.join();
    modFileAccess::FileClose(readEnd);
    m_skipped = copier.SkippedSectors();
    m_summary = copier.Summary();
    if (outcome == BurnOutcome::Completed && !readWell) return BurnOutcome::CompletedWithErrors;
    return outcome;
}
