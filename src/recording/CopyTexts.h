#pragma once

#include <span>

#include "TextTable.h"

// The texts of the disc copy window and of the disc copier ("frmSaveISO2.*").
enum class CopyText {
    FileStart,  // "the file" + path + CannotCreate
    CannotCreate,
    CannotCreateTitle,
    SpeedNotSupported,  // + the speed + DefaultSpeed
    DefaultSpeed,
    SpeedTitle,
    ReadFailed,
    ReadFailedTitle,
    Reading,
    ReadTookLonger,  // "a single read took longer than" + the time
    ReadTookLongerTitle,
    ImageComplete,
    NextToRecording,  // the tool tip of Next
    NextToImageFile,
    NoDisc,
    DriveTitle,
    DriveBusy,
    SaveImageTitle,
    ImageFileFilter,
    ImageSaved,
    ImageSavedTitle,
    ImageCopyFailed,
    InsertBlank,
    InsertBlankTitle,
    CopyFailed,
    Ready,
    SourceCaption,  // the controls
    SpeedCaption,
    ProgressCaption,
    OptionsCaption,
    ImageOnly,
    ImageOnlyTip,
    BadCopy,
    AboutTip,
    BackTip,
    NextTip,
    StatusPanel,  // none built in: the window shows Ready once it is open
    HelpFile,
    About,
    CancelButton,
    SourceDisc,
    SessionsOneDrive,
    TargetCaption,
    SameDrive,
    TargetTip,
    Count
};
std::span<const TextRow<CopyText>> TextRows(CopyText);
