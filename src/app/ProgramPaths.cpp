#include "ProgramPaths.h"

#include <filesystem>

#include "SystemAccess.h"
#include "Utf8Path.h"

namespace fs = std::filesystem;

namespace {
std::string ComputeProgramFolder() {
    const std::string exe = SystemAccess::ExecutablePath();
    std::error_code error;
    return Utf8Of(exe.empty() ? fs::current_path(error) : Utf8Path(exe).parent_path());
}

std::string ComputeTempFolder() {
    if (std::string folder = SystemAccess::Environment("MAPLE_TEMP_DIR"); !folder.empty())
        return folder;
    return SystemAccess::UserCacheFolder() + "/maple-writer";
}
}  // namespace

std::string ProgramFolder() {
    static const std::string folder = ComputeProgramFolder();
    return folder;
}

std::string ProgramDataFolder() {
    static const std::string folder = [] {
        const fs::path installed = Utf8Path(ProgramFolder()) / ".." / "share" / "maple-writer";
        std::error_code error;
        if (fs::is_directory(installed, error)) return Utf8Of(fs::weakly_canonical(installed));
        return ProgramFolder();
    }();
    return folder;
}

std::string TempFolder() {
    static const std::string folder = ComputeTempFolder();
    std::error_code error;
    fs::create_directories(Utf8Path(folder), error);
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
    const fs::path parent = fs::weakly_canonical(Utf8Path(path), error).parent_path();
    return !error && parent == fs::weakly_canonical(Utf8Path(TempFolder()), error);
}
