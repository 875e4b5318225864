#include "SessionBuilder.h"

#include "BurnOptions.h"
#include "SessionImporter.h"
#include "SessionMerge.h"
#include "SessionTexts.h"
#include "clsISOWriter.h"

SessionBuilder::SessionBuilder() : m_writer(std::make_unique<clsISOWriter>()) {}
SessionBuilder::~SessionBuilder() = default;

std::string SessionBuilder::ReadDisc(const std::string& drive) {
    m_disc = DiscContinuation::Of(drive);
    switch (m_disc.kind) {
        case DiscContinuation::Kind::Blank:
            return Text(SessionText::BlankDisc);
        case DiscContinuation::Kind::Closed:
            return Text(SessionText::ClosedDisc);
        case DiscContinuation::Kind::Unreadable:
            return Text(SessionText::NoDiscState);
        case DiscContinuation::Kind::NewSession:
        case DiscContinuation::Kind::Growth:
            break;
    }
    if (m_disc.importFrom < 0) return Text(SessionText::NotIso);
    SessionImporter importer([&drive](std::int64_t lba, std::int32_t count, std::uint8_t* out) {
        return DiscContinuation::ReadBlocks(drive, lba, count, out);
    });
    m_session = importer.Import(m_disc.importFrom);
    if (!m_session.refusal.empty()) return m_session.refusal;
    m_leftOut = m_session.leftOut;
    SessionMerge::AddImported(m_writer->Root(), m_session.root, m_leftOut);
    // The disc keeps its label unless the user gives another.
    m_writer->SetVolumeID(m_session.volumeId, false);
    m_writer->SetVolumeID(m_session.volumeId, true);
    m_writer->SetSessionStart(static_cast<std::int32_t>(m_disc.writeAt));
    return {};
}

void SessionBuilder::ApplyTo(BurnOptions& options) const {
    options.startLba = m_disc.writeAt;
    options.trackNumber = m_disc.trackNumber;
    options.growDisc = m_disc.kind == DiscContinuation::Kind::Growth;
}
