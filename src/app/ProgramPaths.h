#pragma once

#include <string>

// Where the program finds and puts its files. Each is decided once per run.

// Folder of the running executable.
std::string ProgramFolder();
// Folder of the read-only data (language files, style INI, pictures, manual):
// <prefix>/share/maple-writer when installed, else the executable's folder.
std::string ProgramDataFolder();
// Folder of the temporary images: the user's own cache folder
// ($XDG_CACHE_HOME or ~/.cache on POSIX, %LOCALAPPDATA% on Windows, plus
// "maple-writer"), never the program folder; MAPLE_TEMP_DIR overrides it.
// The folder exists after the call.
std::string TempFolder();
// This run's own folder in TempFolder() for its temporary files,
// "job-<process id>-<start time>", made at the first call and locked (its
// "job.lock") for the rest of the run, so that another run's clean-up never
// removes it (see TemporaryImage::RemoveStaleFiles); made anew when it went
// missing. Empty when no folder can be made there (JobFolderProblem says why).
std::string JobFolder();
std::string JobFolderProblem();
// Full paths of the temporary files, in JobFolder() (TempFolder() when there
// is none).
std::string TempImagePath();  // "tempiso.iso"
std::string TempWavePath();   // "tempwav.wav"
// The converted sound of audio track `track` (1-99): "tempwav-NN.wav".
std::string TempTrackPath(int track);
// True when `path` names a file directly inside TempFolder() or inside one of
// its job folders.
bool IsInTempFolder(const std::string& path);
// True for the name of a job folder ("job-...").
bool IsJobFolderName(const std::string& name);
// The lock file of a job folder.
constexpr const char* kJobLockName = "job.lock";
