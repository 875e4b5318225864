#include "EraseEngine.h"

#include <array>

#include "DiscAfterStop.h"
#include "DriveBusy.h"
#include "DriveClaim.h"
#include "EngineReporter.h"
#include "RecordingChecks.h"
#include "ScsiStatus.h"
#include "modMMC.h"

namespace {
constexpr std::int32_t kReadyWaitMs = 15000;

// Built-in texts of the erase window's messages, String01..String11.
constexpr std::array<const char*, 11> kBuiltIn = {
    "此动作将导致您的光碟上的资料丢失，您确定继续吗?",  // confirmation
    "抹除光碟",                                         // its title
    "您的光碟机中没有光碟片",                           // no disc
    "提示",                                             // title of the notices
    "您的刻录机正在忙碌中!",                            // drive busy
    "您放入的光碟不是可重写型光碟!",                    // not rewritable
    "正在抹除光碟 ...",                                 // progress text
    "光碟抹除成功!",                                    // success
    "信息",                                             // its title
    "光碟抹除失败!",                                    // failure
    "错误",                                             // its title
};
}  // namespace

EraseEngine::EraseEngine(EngineReporter& reporter)
    : EraseEngine(reporter, LanguageTexts("frmErase")) {}

EraseEngine::EraseEngine(EngineReporter& reporter, LanguageTexts texts)
    : m_reporter(reporter), m_texts(std::move(texts)) {}

std::string EraseEngine::Text(int number) const {
    return m_texts.Message(number, kBuiltIn[static_cast<std::size_t>(number - 1)]);
}

EraseOutcome EraseEngine::Refuse(EraseOutcome outcome, int message) {
    m_reporter.Message(Text(message), Text(4), MessageIcon::Exclamation, MessageButtons::Ok);
    return outcome;
}

EraseOutcome EraseEngine::Run(const std::string& drive, bool quick) {
    if (m_reporter.Message(Text(1), Text(2), MessageIcon::Question, MessageButtons::YesNo) !=
        MessageAnswer::Yes) {
        return EraseOutcome::Declined;
    }
    const DriveBusyScope busy;
    const DriveClaim claim(drive);
    if (!claim.Held()) {
        m_reporter.Message(RecordingChecks::ClaimProblem(claim), Text(4), MessageIcon::Exclamation,
                           MessageButtons::Ok);
        return EraseOutcome::InUse;
    }
    const std::int32_t ready = modMMC::WaitUnitReady(drive, kReadyWaitMs);
    if (ready == -1) return Refuse(EraseOutcome::DriveBusy, 5);
    if (ready == 0) return Refuse(EraseOutcome::NoDisc, 3);
    if (!modMMC::GetDiscStatus(drive).Erasable) return Refuse(EraseOutcome::NotErasable, 6);

    if (m_reporter.CancelRequested()) {
        ReportStop(m_reporter, drive, DiscAfterStop::Unchanged);
        return EraseOutcome::Cancelled;
    }
    m_reporter.PhaseText(Text(7));
    const std::uint8_t type = quick ? modMMC::kBlankMinimal : modMMC::kBlankWholeDisc;
    const std::int32_t status = modMMC::BlankDisc(drive, type, &m_reporter);
    if (status == modMMC::kBlankStopped) {
        ReportStop(m_reporter, drive, DiscAfterStop::PartlyErased);
        return EraseOutcome::Cancelled;
    }
    if (status == ScsiStatus::kGood) {
        m_reporter.PhaseText(Text(8));
        m_reporter.Message(Text(8), Text(9), MessageIcon::Information, MessageButtons::Ok);
        return EraseOutcome::Erased;
    }
    m_reporter.PhaseText(Text(10));
    m_reporter.Message(Text(10), Text(11), MessageIcon::Exclamation, MessageButtons::Ok);
    return EraseOutcome::Failed;
}
