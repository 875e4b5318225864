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
// Full paths of the two temporary files.
std::string TempImagePath();  // "tempiso.iso"
std::string TempWavePath();   // "tempwav.wav"
// True when `path` names a file directly inside TempFolder().
bool IsInTempFolder(const std::string& path);
