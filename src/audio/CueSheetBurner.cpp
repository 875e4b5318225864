#include "CueSheetBurner.h"

#include <cctype>

#include "AudioBurnEngine.h"
#include "EngineReporter.h"
#include "Utf8Path.h"

namespace {
BurnOutcome OutcomeOf(AudioBurnOutcome outcome) {
    switch (outcome) {
        case AudioBurnOutcome::Refused:
            return BurnOutcome::Refused;
        case AudioBurnOutcome::Completed:
            return BurnOutcome::Completed;
        case AudioBurnOutcome::CompletedWithErrors:
            return BurnOutcome::CompletedWithErrors;
        case AudioBurnOutcome::Failed:
            return BurnOutcome::Failed;
        case AudioBurnOutcome::Cancelled:
            break;
    }
    return BurnOutcome::Cancelled;
}
}  // namespace

bool CueSheetBurner::IsSheet(const std::string& path) {
    std::string extension = Utf8Path(path).extension().string();
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension == ".cue";
}

CueSheetBurner::CueSheetBurner(EngineReporter& reporter, BurnOptions options)
    : m_reporter(reporter), m_options(std::move(options)) {}

bool CueSheetBurner::Read() {
    m_read = true;
    m_sheet = CueSheetReader::ReadFile(m_options.imagePath);
    if (!m_sheet.problem && !m_sheet.sheet.IsAudio()) m_sheet.problem = m_data.Open(m_sheet.sheet);
    if (!m_sheet.problem) return true;
    m_reporter.Message(CueSheetReader::Describe(m_options.imagePath, *m_sheet.problem),
                       Text(CueSheetText::Title), MessageIcon::Exclamation, MessageButtons::Ok);
    return false;
}

BurnOutcome CueSheetBurner::Burn(const std::string& drive) {
    if (!m_read && !Read()) return BurnOutcome::Refused;
    if (m_sheet.problem) return BurnOutcome::Refused;
    if (!IsAudio()) {
        ImageBurner burner(m_reporter, m_options);
        const BurnOutcome outcome = burner.BurnSource(drive, m_data);
        m_data.Close();
        return outcome;
    }
    AudioBurnOptions options;
    options.testMode = m_options.testMode;
    options.fixDisc = m_options.fixDisc;
    options.ejectDisc = m_options.ejectDisc;
    options.verify = m_options.verify;
    AudioBurnEngine engine(m_reporter, options);
    if (m_trackCounter) engine.SetTrackCounterHandler(m_trackCounter);
    return OutcomeOf(engine.StartSheetBurn(drive, m_sheet.sheet, m_options.imagePath));
}
