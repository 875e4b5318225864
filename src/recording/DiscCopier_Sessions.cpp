// A disc of several sessions is copied as its last session shows it: a new
// single-session image of that session's tree, each file read from the disc.
#include <algorithm>
#include <filesystem>

#include "DiscAfterStop.h"
#include "DiscContinuation.h"
#include "DiscCopier.h"
#include "DiscFileSource.h"
#include "EngineReporter.h"
#include "ISOWriterEvents.h"
#include "SessionImporter.h"
#include "SessionMerge.h"
#include "SessionTexts.h"
#include "clsISOWriter.h"

namespace {
// The image writer's progress as the copy's progress bar; its stop request.
class SessionCopyEvents : public ISOWriterEvents {
  public:
    explicit SessionCopyEvents(EngineReporter& reporter) : m_reporter(reporter) {}
    void WritingFiles(std::int32_t percent) override {
        const int shown = std::min(percent, 100);
        m_reporter.Progress(shown);
        m_reporter.PercentText(std::to_string(shown) + "%");
    }
    bool CancelRequested() override { return m_reporter.CancelRequested(); }

  private:
    EngineReporter& m_reporter;
};
}  // namespace

bool DiscCopier::CopyLastSession(const std::string& drive, const std::string& imagePath,
                                 std::int64_t sessionStart) {
    SessionImporter importer(
        [&drive](std::int64_t lba, std::int32_t count, std::uint8_t* out) {
            return DiscContinuation::ReadBlocks(drive, lba, count, out);
        },
        SessionImporter::Purpose::Copy);
    ImportedSession session = importer.Import(sessionStart);
    if (!session.refusal.empty()) {
        Warn(session.refusal, CopyText::ReadFailedTitle);
        return false;
    }
    m_reporter.PhaseText(Text(SessionText::CopyingLastSession));
    DiscFileSource source(drive);
    clsISOWriter writer;
    writer.SetFileSource(&source);
    SessionMerge::AddImported(
        writer.Root(), session.root, session.leftOut,
        [](const ImportedEntry& file) { return DiscFileSource::Path(file.lba, file.size); });
    writer.SetVolumeID(session.volumeId, false);
    writer.SetVolumeID(session.volumeId, true);
    SessionCopyEvents events(m_reporter);
    writer.SetEvents(&events);
    if (!writer.SaveISO(imagePath)) {
        m_cancelled = writer.Cancelled();
        if (m_cancelled)
            ReportStop(m_reporter, drive, DiscAfterStop::NoImage);
        else
            Warn(writer.LastError(), CopyText::ReadFailedTitle);
        return false;
    }
    for (const LeftOutEntry& entry : session.leftOut)
        m_reporter.PhaseText(Text(SessionText::LeftOut, {entry.path, entry.reason}));
    std::error_code error;
    m_sectors = static_cast<std::int64_t>(std::filesystem::file_size(imagePath, error)) / 2048;
    return true;
}
