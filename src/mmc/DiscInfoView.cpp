#include "DiscInfoView.h"

#include "AudioDiscCodes.h"
#include "DriveBusy.h"
#include "modMMC.h"

DiscInfoTexts DiscInfoView::NotAvailable() {
    return {"N/A", "N/A", "N/A", "N/A", "N/A", {}};
}

DiscInfoTexts DiscInfoView::ShowDiscInfo(const std::string& drive) {
    (void)modMMC::TestUnitReady(drive);  // takes a pending unit attention out of the way
    const modMMC::DiscInfoRecord disc = modMMC::GetDiscStatus(drive);
    DiscInfoTexts texts = Named(disc);
    if (disc.DiscState != modMMC::DiscState::kEmpty)
        texts.cdText = AudioDiscCodes::Read(drive).cdText.text;
    return texts;
}

DiscInfoTexts DiscInfoView::Named(const modMMC::DiscInfoRecord& disc) {
    return {modMMC::MediaName(disc.MediaType),
            std::to_string(disc.Sessions),
            std::to_string(disc.LastTrack),
            modMMC::DiscStatusName(disc.DiscState),
            modMMC::DiscStatusName(disc.LastSessionState),
            {}};
}

std::optional<DiscInfoTexts> DiscInfoView::Load(const std::string& drive) {
    if (modMMC::WaitUnitReady(drive, modMMC::kReadyWaitMs) != 1) return std::nullopt;
    // The disc shown is the one the watch knows: the next tick reads it
    // again only when it changes.
    m_shown = m_presence.Poll(drive);
    return ShowDiscInfo(drive);
}

std::optional<DiscInfoTexts> DiscInfoView::Tick(const std::string& drive) {
    if (IsDriveBusy(drive)) return std::nullopt;  // another operation owns the drive
    if (!m_presence.Poll(drive)) {
        m_shown = false;
        return NotAvailable();
    }
    if (m_shown && !m_presence.NewMedium()) return std::nullopt;  // one query per disc
    m_shown = true;
    return ShowDiscInfo(drive);
}
