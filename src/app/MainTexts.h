#pragma once

#include <span>

#include "TextTable.h"

// The texts of the main window ("frmMain.*").
enum class MainText {
    AlreadyRunning,
    NoticeTitle,
    NoTransport,  // the SCSI device interface could not be started
    NoTransportTitle,
    DataDiscInfo,  // what each task does, shown while the mouse is on it
    AudioCdInfo,
    RecordImageInfo,
    CopyDiscInfo,
    NoDrive,
    NoDriveTitle,
    PickRecorder,  // Label1
    PickTask,      // Label2
    DataDiscTask,  // LblText(0) .. LblText(3)
    AudioCdTask,
    RecordImageTask,
    CopyDiscTask,
    AboutTip,
    ToolsTip,
    ExitTip,
    DriveSelectTip,
    SelectFirstDrive,
    SelectLastDrive,
    EjectTray,
    LoadTray,
    DiscInfo,
    EraseDisc,
    HelpFile,
    VisitWebPage,
    MailToAuthor,
    About,
    HandOverRefused,  // files opened from the file manager while a task is open
    Count
};
std::span<const TextRow<MainText>> TextRows(MainText);
