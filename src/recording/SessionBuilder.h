#pragma once

#include <memory>
#include <string>
#include <vector>

#include "DiscContinuation.h"
#include "ImportedSession.h"

struct BurnOptions;
class clsISOWriter;

// The first half of adding files to a disc: reads how the disc in a drive
// continues and the tree of its last session, and holds the project of the
// next session, which starts as that tree (its files on the disc, at their
// addresses). New files go in with SessionMerge; the writer then builds the
// image for the place it will be recorded, and ImageBurner::AddSession
// records it with the options of ApplyTo.
class SessionBuilder {
  public:
    SessionBuilder();
    ~SessionBuilder();

    // Reads the disc in `drive` (ready, held by the caller). Empty when it
    // can be continued, else why not (blank, closed, unreadable, a last
    // session that is not ISO 9660, a file stored in scattered pieces on it).
    std::string ReadDisc(const std::string& drive);

    const DiscContinuation& Disc() const { return m_disc; }
    const ImportedSession& Session() const { return m_session; }
    // What the new session cannot carry (stays on the disc, no longer listed).
    const std::vector<LeftOutEntry>& LeftOut() const { return m_leftOut; }
    // The next session's project: the imported tree, the disc's label kept,
    // the session start set.
    clsISOWriter& Writer() { return *m_writer; }

    // Where and how the image is recorded.
    void ApplyTo(BurnOptions& options) const;

  private:
    DiscContinuation m_disc;
    ImportedSession m_session;
    std::vector<LeftOutEntry> m_leftOut;
    std::unique_ptr<clsISOWriter> m_writer;
};
