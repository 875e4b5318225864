#include "ClosingSteps.h"

#include <utility>

#include "EngineReporter.h"
#include "ScsiStatus.h"
#include "modMMC.h"

ClosingSteps::ClosingSteps(EngineReporter& reporter, Texts texts)
    : m_reporter(reporter), m_texts(std::move(texts)) {}

void ClosingSteps::Check(bool ok, const std::string& failedText, bool matters) {
    if (ok) return;
    m_reporter.PhaseText(failedText);
    std::string& first = matters ? m_failure : m_warning;
    if (first.empty()) first = failedText;
}

void ClosingSteps::Flush(const std::string& drive) {
    m_reporter.PhaseText("SYNCHRONIZE CACHE ...");
    Check(modMMC::SynchronizeCache(drive) == ScsiStatus::kGood, "SYNCHRONIZE CACHE failed.", true);
}

void ClosingSteps::CloseTrack(const std::string& drive, std::uint16_t track, bool matters) {
    m_reporter.PhaseText(m_texts.closingTrack + " ...");
    Check(modMMC::CloseTrackSession(drive, modMMC::kCloseTrack, track) == ScsiStatus::kGood,
          m_texts.closingTrack + m_texts.trackFailed, matters);
}

void ClosingSteps::CloseSession(const std::string& drive, std::int32_t closeFunction,
                                std::uint16_t track, bool matters) {
    m_reporter.PhaseText(m_texts.closingSession + "...");
    Check(modMMC::CloseTrackSession(drive, closeFunction, track) == ScsiStatus::kGood,
          m_texts.closingSession + m_texts.sessionFailed, matters);
}

void ClosingSteps::NoteFailure(const std::string& panelText) {
    Check(false, panelText, true);
}

void ClosingSteps::Clear() {
    m_failure.clear();
    m_warning.clear();
}
