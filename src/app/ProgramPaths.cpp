#include "ProgramPaths.h"

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace {
std::string ComputeProgramFolder() {
    std::error_code error;
    const fs::path exe = fs::read_symlink("/proc/self/exe", error);
    if (error) return fs::current_path(error).string();
    return exe.parent_path().string();
}

std::string UserCacheFolder() {
    if (const char* cache = std::getenv("XDG_CACHE_HOME"); cache && *cache)
        return std::string(cache) + "/maple-writer";
    if (const char* home = std::getenv("HOME"); home && *home)
        return std::string(home) + "/.cache/maple-writer";
    return (fs::temp_directory_path() / "maple-writer").string();
}

std::string ComputeTempFolder() {
    if (const char* folder = std::getenv("MAPLE_TEMP_DIR"); folder && *folder) return folder;
    return UserCacheFolder();
}
}  // namespace

std::string ProgramFolder() {
    static const std::string folder = ComputeProgramFolder();
    return folder;
}

std::string ProgramDataFolder() {
    static const std::string folder = [] {
        const fs::path installed = fs::path(ProgramFolder()) / ".." / "share" / "maple-writer";
        std::error_code error;
        if (fs::is_directory(installed, error)) return fs::weakly_canonical(installed).string();
        return ProgramFolder();
    }();
    return folder;
}

std::string TempFolder() {
    static const std::string folder = ComputeTempFolder();
    std::error_code error;
    fs::create_directories(folder, error);
    return folder;
}

std::string TempImagePath() {
    return TempFolder() + "/tempiso.iso";
}

std::string TempWavePath() {
    return TempFolder() + "/tempwav.wav";
}

bool IsInTempFolder(const std::string& path) {
    std::error_code error;
    const fs::path parent = fs::weakly_canonical(fs::path(path), error).parent_path();
    return !error && parent == fs::weakly_canonical(fs::path(TempFolder()), error);
}
