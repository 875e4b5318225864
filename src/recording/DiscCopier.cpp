#include "DiscCopier.h"

#include <algorithm>
#include <filesystem>

#include "DriveBusy.h"
#include "DriveClaim.h"
#include "EngineReporter.h"
#include "ProgramPaths.h"
#include "RecordingChecks.h"
#include "SettingsStore.h"
#include "Utf8Path.h"
#include "modMMC.h"

DiscCopier::DiscCopier(EngineReporter& reporter, CopyOptions options)
    : m_reporter(reporter),
      m_options(std::move(options)),
      m_buffer(static_cast<std::size_t>(std::max(1, m_options.sectorsPerRead)) * 2048) {}

void DiscCopier::Warn(const std::string& text, CopyText title) {
    m_reporter.Message(text, Text(title), MessageIcon::Exclamation, MessageButtons::Ok);
}

CopyOutcome DiscCopier::Next(const std::string& drive,
                             const std::function<std::string()>& chooseImagePath) {
    const DriveBusyScope busy(drive);
    const DriveClaim claim(drive);
    if (!CheckSource(drive, claim)) return CopyOutcome::Refused;
    if (!m_options.imageOnly) return CopyToDisc(drive);
    const std::string path = chooseImagePath ? chooseImagePath() : std::string();
    if (path.empty()) return CopyOutcome::Refused;
    return CopyImageOnly(drive, path);
}

bool DiscCopier::CheckSource(const std::string& drive, const DriveClaim& claim) {
    if (!HoldsDrive(claim)) return false;
    const std::int32_t ready = modMMC::WaitUnitReady(drive, modMMC::kReadyWaitMs);
    if (ready != 1) {
        Warn(Text(ready == 0 ? CopyText::NoDisc : CopyText::DriveBusy), CopyText::DriveTitle);
        return false;
    }
    // A Blu-ray source is recorded like a DVD (the chooser knows CD and DVD).
    m_sourceIsDvd = MediaFamilies::OfDisc(drive) != MediaFamily::CD;
    return true;
}

bool DiscCopier::HoldsDrive(const DriveClaim& claim) {
    const std::string problem = RecordingChecks::ClaimProblem(claim);
    if (!problem.empty()) Warn(problem, CopyText::DriveTitle);
    return problem.empty();
}

CopyOutcome DiscCopier::CopyImageOnly(const std::string& drive, const std::string& path) {
    m_reporter.ElapsedText(path);
    if (!CopyDiscToImage(drive, path)) {
        if (m_cancelled) return CopyOutcome::Cancelled;
        m_reporter.PhaseText(Text(CopyText::ImageCopyFailed));
        return CopyOutcome::Failed;
    }
    m_reporter.Message(Text(CopyText::ImageSaved) + "\n" + Summary(),
                       Text(CopyText::ImageSavedTitle), MessageIcon::Information,
                       MessageButtons::Ok);
    return CopyOutcome::ImageSaved;
}

CopyOutcome DiscCopier::CopyToDisc(const std::string& drive) {
    const std::string path = TempImagePath();
    std::error_code error;
    std::filesystem::remove(Utf8Path(path), error);  // an earlier copy's image
    m_reporter.ElapsedText(path);
    if (!CopyDiscToImage(drive, path)) {
        if (m_cancelled) return CopyOutcome::Cancelled;
        m_reporter.PhaseText(Text(CopyText::CopyFailed));
        return CopyOutcome::Failed;
    }
    SaveProgramSetting("TempISO", path);
    SaveProgramSetting("CDorDVD", m_sourceIsDvd ? "1" : "0");
    (void)modMMC::EjectTray(drive, modMMC::Immed::kOff);
    m_reporter.Message(Text(CopyText::InsertBlank), Text(CopyText::InsertBlankTitle),
                       MessageIcon::Information, MessageButtons::Ok);
    (void)modMMC::LoadTray(drive, modMMC::Immed::kOff);
    return CopyOutcome::ReadyToRecord;
}
