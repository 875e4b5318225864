#pragma once

#include <span>

#include "TextTable.h"

// Texts of continuing a disc: reading its last session (to continue it or
// to copy a disc of several sessions), the clashes of new
// files with the files on it, and the questions of the data disc window.
enum class SessionText {
    NotIsoUdf,
    NotIso,
    Unreadable,
    ScatteredFile,
    CopyNotIsoUdf,
    CopyNotIso,
    CopyScatteredFile,
    SymbolicLink,
    SpecialFile,
    OutsideSession,
    UnusableName,
    Clashes,
    DiscChanged,
    GrowthFailed,
    BlankDisc,
    ClosedDisc,
    NoDiscState,
    CopyingLastSession,
    LeftOut,
    NothingToClose,
    CloseRefused,
    DiscClosed,
    CloseConfirm,
    ContinueQuestion,
    OnDiscTip,
    LeftOutList,
    Count
};
std::span<const TextRow<SessionText>> TextRows(SessionText);
