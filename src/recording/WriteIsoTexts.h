#pragma once

#include <span>

#include "TextTable.h"

// The texts of the record-image window and of the image recorder
// ("frmWriteISO.*"). Some messages are pieces joined around values
// (WrongDiscStart + "DVD" + WrongDiscMiddle ...).
enum class WriteIsoText {
    ReadPageFailed,
    ReadPageFailedTitle,
    WritePageFailed,
    WritePageFailedTitle,
    SpeedNotSupported,  // + the speed + DefaultSpeed
    DefaultSpeed,
    SpeedTitle,
    WritingData,
    WriteTookLonger,  // "a single write took longer than" + the time
    WriteFailedTitle,
    WriteError,
    ClosingTrack,
    CloseTrackFailed,  // after ClosingTrack
    ClosingSession,
    CloseSessionFailed,  // after ClosingSession
    Ejecting,
    RecordingComplete,
    RecordingCompleteTitle,
    OpenImageTitle,
    ImageFileFilter,
    NoImage,
    NoImageTitle,
    NoDisc,
    DriveTitle,
    DriveBusy,
    WrongDiscStart,  // "you inserted a" + kind + WrongDiscMiddle + kind + WrongDiscEnd
    WrongDiscMiddle,
    WrongDiscEnd,
    WrongDiscTitle,
    NotBlank,
    NotBlankTitle,
    BackToMain,
    BackToPrevious,
    Ready,
    StopQuestion,
    StopTitle,
    NotDiscImage,
    NotDiscImageTitle,
    ImageCaption,  // the controls
    ProgressCaption,
    SpeedCaption,
    BrowseButton,
    FixDisc,
    TestMode,
    EjectDisc,
    Verify,
    CancelButton,
    BrowseTip,
    AboutTip,
    ToolsTip,
    BackTip,
    BurnTip,
    StatusPanel,  // none built in: the window shows Ready once it is open
    DiscInfo,
    EraseDisc,
    HelpFile,
    About,
    DropHint,
    BufferFifo,
    BufferDrive,
    DirectSource,
    ImageOrSheetFilter,
    DrivesCaption,
    DrivesTip,
    DrivesSummaryTitle,
    DriveLine,
    OutcomeCompleted,
    OutcomeErrors,
    OutcomeFailed,
    OutcomeRefused,
    OutcomeStopped,
    DriveCopySource,
    Count
};
std::span<const TextRow<WriteIsoText>> TextRows(WriteIsoText);
