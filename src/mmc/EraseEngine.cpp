#include "EraseEngine.h"

#include "DiscAfterStop.h"
#include "DriveBusy.h"
#include "DriveClaim.h"
#include "EngineReporter.h"
#include "RecordingChecks.h"
#include "ScsiStatus.h"
#include "modMMC.h"

EraseOutcome EraseEngine::Refuse(EraseOutcome outcome, EraseText message) {
    m_reporter.Message(Text(message), Text(EraseText::NoticeTitle), MessageIcon::Exclamation,
                       MessageButtons::Ok);
    return outcome;
}

EraseOutcome EraseEngine::Run(const std::string& drive, bool quick) {
    if (m_reporter.Message(Text(EraseText::Confirm), Text(EraseText::ConfirmTitle),
                           MessageIcon::Question, MessageButtons::YesNo) != MessageAnswer::Yes) {
        return EraseOutcome::Declined;
    }
    const DriveBusyScope busy(drive);
    const DriveClaim claim(drive);
    if (!claim.Held()) {
        m_reporter.Message(RecordingChecks::ClaimProblem(claim), Text(EraseText::NoticeTitle),
                           MessageIcon::Exclamation, MessageButtons::Ok);
        return EraseOutcome::InUse;
    }
    const std::int32_t ready = modMMC::WaitUnitReady(drive, modMMC::kReadyWaitMs);
    if (ready == -1) return Refuse(EraseOutcome::DriveBusy, EraseText::DriveBusy);
    if (ready == 0) return Refuse(EraseOutcome::NoDisc, EraseText::NoDisc);
    if (!modMMC::GetDiscStatus(drive).Erasable)
        return Refuse(EraseOutcome::NotErasable, EraseText::NotRewritable);

    if (m_reporter.CancelRequested()) {
        ReportStop(m_reporter, drive, DiscAfterStop::Unchanged);
        return EraseOutcome::Cancelled;
    }
    m_reporter.PhaseText(Text(EraseText::Erasing));
    const std::uint8_t type = quick ? modMMC::kBlankMinimal : modMMC::kBlankWholeDisc;
    const std::int32_t status = modMMC::BlankDisc(drive, type, &m_reporter);
    if (status == modMMC::kBlankStopped) {
        ReportStop(m_reporter, drive, DiscAfterStop::PartlyErased);
        return EraseOutcome::Cancelled;
    }
    if (status == ScsiStatus::kGood) {
        m_reporter.PhaseText(Text(EraseText::Erased));
        m_reporter.Message(Text(EraseText::Erased), Text(EraseText::ErasedTitle),
                           MessageIcon::Information, MessageButtons::Ok);
        return EraseOutcome::Completed;
    }
    m_reporter.PhaseText(Text(EraseText::EraseFailed));
    m_reporter.Message(Text(EraseText::EraseFailed), Text(EraseText::EraseFailedTitle),
                       MessageIcon::Exclamation, MessageButtons::Ok);
    return EraseOutcome::Failed;
}
