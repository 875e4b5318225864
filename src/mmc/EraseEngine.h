#pragma once

#include <string>

#include "EraseTexts.h"

class EngineReporter;

// How an erase request ended; the messages have been shown by then.
enum class EraseOutcome {
    Declined,     // the user answered No to the confirmation
    DriveBusy,    // the drive did not become ready in time
    InUse,        // another program holds the drive (or it could not be held)
    NoDisc,       // no medium in the drive
    NotErasable,  // the disc is not rewritable
    Completed,    // BlankDisc succeeded
    Failed,       // BlankDisc failed
    Cancelled,    // the user stopped it before BLANK, or during a DVD+RW overwrite
};

// The erase procedure behind the Erase button and `maple-cli erase`: asks for
// confirmation, checks readiness, medium and rewritability, then blanks the
// disc (minimal or whole; DVD+RW is overwritten), reporting through the
// reporter with the texts of the erase window (EraseText). The drive is marked busy and held (a
// DriveClaim) while it works. BLANK itself cannot be stopped; a cancel request is honoured before
// it and between the blocks of a DVD+RW overwrite.
class EraseEngine {
  public:
    explicit EraseEngine(EngineReporter& reporter) : m_reporter(reporter) {}

    // `quick` sends blanking type 1 (minimal), otherwise 0 (whole disc).
    EraseOutcome Run(const std::string& drive, bool quick);

  private:
    EraseOutcome Refuse(EraseOutcome outcome, EraseText message);

    EngineReporter& m_reporter;
};
