#include "TemporaryImage.h"

#include <filesystem>

#include "FileLock.h"
#include "OutputFile.h"
#include "ProgramPaths.h"
#include "RecordingTask.h"
#include "SettingsStore.h"
#include "Utf8Path.h"

namespace fs = std::filesystem;

namespace {
bool IsTemporaryTask(int task) {
    return task == RecordingTask::kDataDisc || task == RecordingTask::kCopyDisc;
}

// The program's own temporary files and their partial files.
bool IsOwnTempName(const std::string& name) {
    for (const char* own : {"tempiso.iso", "tempwav.wav"})
        if (name == own || OutputFile::IsPartialName(name, own)) return true;
    return false;
}

// A job folder whose lock nobody holds: its job ended (or crashed).
void RemoveUnlockedJobFolder(const fs::path& folder) {
    FileLock lock(Utf8Of(folder / kJobLockName));
    if (!lock.Held()) return;  // a running job's
    lock.ReleaseForRemoval();
    std::error_code error;
    fs::remove_all(folder, error);
}

bool SamePath(const std::string& a, const std::string& b) {
    std::error_code error;
    const fs::path left = fs::weakly_canonical(a, error);
    if (error) return false;
    const fs::path right = fs::weakly_canonical(b, error);
    return !error && left == right;
}
}  // namespace

TemporaryImage::TemporaryImage(int task, std::string rememberedPath)
    : m_path(IsTemporaryTask(task) ? std::move(rememberedPath) : std::string()) {}

TemporaryImage TemporaryImage::FromSettings(int task) {
    if (!IsTemporaryTask(task)) return {};
    return TemporaryImage(task, GetProgramSetting("TempISO"));
}

bool TemporaryImage::Covers(const std::string& path) const {
    return !m_path.empty() && !path.empty() && SamePath(path, m_path) && IsInTempFolder(m_path);
}

bool TemporaryImage::DeleteIfCovered(const std::string& path) const {
    if (!Covers(path)) return false;
    std::error_code error;
    return fs::remove(m_path, error);
}

void TemporaryImage::RemoveStaleFiles() {
    const auto started = fs::file_time_type::clock::now();
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(Utf8Path(TempFolder()), error)) {
        const std::string name = Utf8Of(entry.path().filename());
        if (entry.is_symlink(error)) continue;
        if (IsJobFolderName(name) && entry.is_directory(error)) {
            RemoveUnlockedJobFolder(entry.path());
            continue;
        }
        // Files of older versions, which kept them at the top.
        if (!IsOwnTempName(name) || !entry.is_regular_file(error)) continue;
        if (entry.last_write_time(error) < started) fs::remove(entry.path(), error);
    }
}
