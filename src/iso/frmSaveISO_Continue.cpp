// Continuing a disc: the question when the window opens, the check at Next.
#include "DiscContinuation.h"
#include "DriveBusy.h"
#include "MainWindowLink.h"
#include "MessageBoxSeam.h"
#include "SessionBuilder.h"
#include "SessionTexts.h"
#include "WindowTexts.h"
#include "frmSaveISO.h"
#include "modMMC.h"
#include "ucTreeView.h"

namespace {
bool TakesMore(const DiscContinuation& disc) {
    return disc.kind == DiscContinuation::Kind::NewSession ||
           disc.kind == DiscContinuation::Kind::Growth;
}
}  // namespace

void frmSaveISO::OfferToContinue() {
    const std::string drive = CurrentDrive();
    if (drive.empty() || IsDriveBusy(drive) || modMMC::TestUnitReady(drive) != 0) return;
    if (!TakesMore(DiscContinuation::Of(drive))) return;
    if (ShowMessageBox(this, QText(SessionText::ContinueQuestion), QText(SaveIsoText::NoticeTitle),
                       MessageIcon::Question, MessageButtons::YesNo) != MessageAnswer::Yes)
        return;
    SessionBuilder builder;
    if (const std::string refusal = builder.ReadDisc(drive); !refusal.empty()) {
        ShowMessageBox(this, QString::fromStdString(refusal), QText(SaveIsoText::NoticeTitle),
                       MessageIcon::Exclamation);
        return;
    }
    const DiscContinuation& disc = builder.Disc();
    std::vector<LeftOutEntry> leftOut = builder.LeftOut();
    m_project->ContinueDisc(builder.Session(), disc.writeAt, disc.freeBlocks * 2048, leftOut);
    m_continued = {drive, disc.writeAt, disc.trackNumber,
                   disc.kind == DiscContinuation::Kind::Growth};
    ShowNewProject(m_project->Kind() == DiscKind::Dvd ? SaveIsoText::DvdDiscRootAgain
                                                      : SaveIsoText::CdDiscRootAgain);
    AddChildNodes(m_tvwDirs->topLevelItem(0));
    ShowBoxes();
    RefreshSize();
    if (leftOut.empty()) return;
    QString list;
    for (const LeftOutEntry& entry : leftOut)
        list += QStringLiteral("\n%1 (%2)")
                    .arg(QString::fromStdString(entry.path), QString::fromStdString(entry.reason));
    ShowMessageBox(this, QText(SessionText::LeftOutList) + list, QText(SaveIsoText::NoticeTitle),
                   MessageIcon::Information);
}

bool frmSaveISO::SameDiscInDrive() {
    if (!m_project->ContinuesDisc()) return true;
    const DiscContinuation disc = DiscContinuation::Of(m_continued.drive);
    if (CurrentDrive() == m_continued.drive && TakesMore(disc) &&
        disc.writeAt == m_continued.writeAt && disc.trackNumber == m_continued.track)
        return true;
    ShowMessageBox(this, QText(SessionText::DiscChanged), QText(SaveIsoText::NoticeTitle),
                   MessageIcon::Exclamation);
    return false;
}

std::string frmSaveISO::SessionSetting() const {
    if (!m_project->ContinuesDisc()) return {};
    return std::to_string(m_continued.writeAt) + " " + std::to_string(m_continued.track) + " " +
           (m_continued.grow ? "1" : "0");
}
