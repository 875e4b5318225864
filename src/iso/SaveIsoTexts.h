#pragma once

#include <span>

#include "TextTable.h"

// The texts of the data disc project window and of its image build
// ("frmSaveISO.*").
enum class SaveIsoText {
    AboutIso9660,
    Iso9660Info,
    AboutJoliet,
    JolietInfo,
    NextToRecording,  // the tool tip of Next
    NextToImageFile,
    BuildingFileSystem,
    WritingDirectories,
    WritingFiles,
    WritingPathTables,
    NoFiles,
    NoticeTitle,
    SaveImageTitle,
    ImageFileFilter,
    ImageFailed,
    ImageFailedTitle,
    ImageSaved,
    ImageSavedTitle,
    CdDiscRoot,  // the root of a new project
    DvdDiscRoot,
    KnowledgeBaseMissing,
    KnowledgeBaseMissingTitle,
    AddingFiles,
    FilesAdded,
    NewDirectoryName,
    CdDiscRootAgain,  // the root after New
    DvdDiscRootAgain,
    BadName,
    NameTaken,
    IntoOwnSubtree,
    NotMoved,
    TooLarge,
    NotAdded,
    BadDate,
    DropHint,  // the controls
    NameColumn,
    SizeColumn,
    DateColumn,
    FileSystemTab,
    VolumeTab,
    ImageOnly,
    ImageOnlyTip,
    DirectRecording,
    DirectRecordingTip,
    AboutTip,
    NewProjectTip,
    BackTip,
    NextTip,
    DeleteTip,
    RenameTip,
    SetDateTip,
    VolumeFrame,
    VolumeLabel,  // Label1(1) .. Label1(8)
    SystemLabel,
    ApplicationLabel,
    PublisherLabel,
    PreparerLabel,
    VolumeSetLabel,
    CopyrightLabel,
    DescriptorLabel,
    DateFrame,
    DateLabel,
    SetDateButton,
    FileSystemName,  // none built in: the page shows AboutIso9660 and
    FileSystemInfo,  // Iso9660Info (or Joliet's) once it is open
    MoreInfo,
    KnowledgeBase,
    NewDirectory,
    RemoveDirectory,
    RenameDirectory,
    RemoveFiles,
    RenameFile,
    AddFilesMenu,    // the pop-up menus' "add files" and "add folder"; the
    AddFolderMenu,   // dialogs' titles are these without the dots
    AddFilesButton,  // the buttons over the list
    AddFolderButton,
    AllFiles,      // the file dialog's filter
    LeaveProject,  // Back on a project with files
    HelpFile,
    About,
    CancelButton,
    Count
};
std::span<const TextRow<SaveIsoText>> TextRows(SaveIsoText);
