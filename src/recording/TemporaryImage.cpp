#include "TemporaryImage.h"

#include <filesystem>

#include "ProgramPaths.h"
#include "RecordingTask.h"
#include "SettingsStore.h"

namespace fs = std::filesystem;

namespace {
bool IsTemporaryTask(int task) {
    return task == RecordingTask::kDataDisc || task == RecordingTask::kCopyDisc;
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
