#pragma once

#include <span>

#include "TextTable.h"

// The texts of the audio CD window and of the audio recorder ("frmWriteCDDA.*").
enum class AudioText {
    ReadPageFailed,
    ReadPageFailedTitle,
    WritePageFailed,
    WritePageFailedTitle,
    Converting,  // "generating track ..."
    WritingTrack,
    SpeedNotSupported,  // + the speed + DefaultSpeed
    DefaultSpeed,
    SpeedTitle,
    TrackInfoFailed,
    TrackInfoFailedTitle,
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
    NoTracks,
    NoTracksTitle,
    NoDisc,
    DriveTitle,
    DriveBusy,
    DvdInserted,
    DvdInsertedTitle,
    NotBlank,
    NotBlankTitle,
    TooManyTracks,
    TooManyTracksTitle,
    AddingFiles,
    NotSupported,  // after the file's path
    NotSupportedTitle,
    FilesAdded,
    StopQuestion,
    StopTitle,
    NameColumn,  // the controls
    SizeColumn,
    LengthColumn,
    ModifiedColumn,
    DropHint,
    FixDisc,
    TestMode,
    EjectDisc,
    Verify,
    DeleteTip,
    RenameTip,
    NewProjectTip,
    BurnTip,
    AboutTip,
    ToolsTip,
    BackTip,
    CancelButton,
    TracksCaption,
    DeleteFile,
    RenameFile,
    AddFilesMenu,    // the pop-up menu's "add files"; the dialog's title is it without the dots
    AddFilesButton,  // the button under the list
    SoundFiles,      // the file dialog's filter
    DiscInfo,
    EraseDisc,
    HelpFile,
    About,
    DaoNotOffered,  // Disc-At-Once
    TrackTooShort,  // %1 the file
    CueSheetRefused,
    TrackStartsVerified,
    PausesNotVerified,
    TrackStartDiffers,  // %1 the track, %2 the sector
    DiscAtOnce,
    PauseColumn,
    CdTextNotOffered,  // CD-TEXT
    CdTextTooLong,
    CdTextReplaced,      // followed by the texts, one a line
    CdTextDiscDiffers,   // %1 the field (TITLE ...), %2 sent, %3 read
    CdTextTrackDiffers,  // %1 the track, %2 the field, %3 sent, %4 read
    CatalogueDiffers,    // %1 sent, %2 read
    IsrcDiffers,         // %1 the track, %2 sent, %3 read
    CodesVerified,
    TitleColumn,  // the audio window's CD-TEXT (Disc-At-Once)
    PerformerColumn,
    AlbumTitleLabel,
    AlbumPerformerLabel,
    CdTextReplacedQuestion,  // after CdTextReplaced and the texts
    CdTextTitle,
    Count
};
std::span<const TextRow<AudioText>> TextRows(AudioText);
