#pragma once

#include <span>

#include "TextTable.h"

// The refusals of a cue sheet ("CueSheet.*"), shown by maple-cli and the
// record-image window. Most are reasons that go into LineProblem.
enum class CueSheetText {
    LineProblem,  // %1 the sheet, %2 the line number, %3 the reason
    CannotRead,   // %1 the sheet, %2 why
    NotRecordable,
    NotUnderstood,
    Mode2,
    Cdg,
    Mixed,
    HiddenTrack,
    FileMissing,  // %1 the file
    FileShort,    // %1 the file
    NoTracks,
    TrackShort,  // %1 the track number
    NotMode1,    // %1 the file, %2 the sector
    OneDataTrack,
    Title,
    TextTooLong,
    Count
};

std::span<const TextRow<CueSheetText>> TextRows(CueSheetText);
