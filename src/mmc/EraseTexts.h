#pragma once

#include <span>

#include "TextTable.h"

// The texts of the erase window and of the erase engine ("frmErase.*").
enum class EraseText {
    Confirm,       // this destroys the data: continue?
    ConfirmTitle,  // erase disc
    NoDisc,
    NoticeTitle,
    DriveBusy,
    NotRewritable,
    Erasing,
    Erased,
    ErasedTitle,
    EraseFailed,
    EraseFailedTitle,
    QuickErase,         // the check box
    QuickEraseWarning,  // the label under it
    StatusCaption,
    StatusWaiting,
    EraseButton,
    CancelButton,
    Count
};
std::span<const TextRow<EraseText>> TextRows(EraseText);
