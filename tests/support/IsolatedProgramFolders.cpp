#include "IsolatedProgramFolders.h"

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>

#include "ProgramPaths.h"

namespace fs = std::filesystem;

namespace {
// The folder of this run; it owns its path, so it can still remove the folder
// when the run ends.
struct RunFolder {
    RunFolder() {
        fs::create_directories(base / "temp");
        fs::create_directories(base / "config");
        ::setenv("MAPLE_TEMP_DIR", (base / "temp").string().c_str(), 1);
        ::setenv("MAPLE_CONFIG_DIR", (base / "config").string().c_str(), 1);
        ::unsetenv("LANGUAGE");  // the built-in texts, whatever the user's language
    }
    ~RunFolder() {
        std::error_code error;
        fs::remove_all(base, error);
    }

    const fs::path base = fs::temp_directory_path() / ("maple-tests-" + std::to_string(::getpid()));
};

const RunFolder& Run() {
    static const RunFolder run;
    return run;
}

// Decided while the program starts, before any test asks for its folders.
const bool g_decided = (Run(), true);
}  // namespace

void IsolatedProgramFolders::Reset() {
    (void)g_decided;
    for (const char* name : {"temp", "config"}) {
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(Run().base / name, error))
            fs::remove_all(entry.path(), error);
    }
}

std::string IsolatedProgramFolders::Temp() {
    return TempFolder();
}

std::string IsolatedProgramFolders::TempImage() {
    return TempImagePath();
}
