#pragma once

#include <string>

// The program decides its temp-image and settings folders once per run (from
// MAPLE_TEMP_DIR and MAPLE_CONFIG_DIR), so both point into a folder of this
// test run from before main() on: no test reads or leaves the user's files.
// Each object empties them, so a test starts without the files of the last.
class IsolatedProgramFolders {
  public:
    IsolatedProgramFolders() { Reset(); }

    // Removes every file from the temp-image folder and the settings folder.
    static void Reset();
    // The temp-image folder, as the program sees it.
    static std::string Temp();
    // The temporary image of this run's job (TempImagePath).
    static std::string TempImage();
};
