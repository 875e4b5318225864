#include "ProgramPaths.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <mutex>

#include "FileLock.h"
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

constexpr const char* kJobPrefix = "job-";

// The job folder of this run and the lock that keeps it.
struct Job {
    std::mutex mutex;
    std::string folder, problem;
    std::unique_ptr<FileLock> lock;

    // A folder that kept nothing (a temporary image kept for another try
    // stays) goes with the run.
    ~Job() {
        std::error_code error;
        if (!StillHeld()) return;
        for (const auto& entry : fs::directory_iterator(Utf8Path(folder), error))
            if (entry.path().filename() != kJobLockName) return;
        lock->ReleaseForRemoval();
        fs::remove_all(Utf8Path(folder), error);
    }

    bool StillHeld() const {
        std::error_code error;
        return lock && lock->Held() && lock->StillAtPath() &&
               fs::is_directory(Utf8Path(folder), error);
    }

    // A new folder, locked; another name when another run's clean-up took
    // one between its creation and the lock.
    void Make() {
        folder.clear();
        lock.reset();
        const std::string temp = TempFolder();
        const long long started = std::chrono::duration_cast<std::chrono::seconds>(
                                      std::chrono::system_clock::now().time_since_epoch())
                                      .count();
        std::string name = kJobPrefix;
        name.append(std::to_string(SystemAccess::ProcessId())).append("-");
        name.append(std::to_string(started));
        for (int attempt = 0; attempt < 20; ++attempt) {
            std::string candidate = name;
            if (attempt > 0) candidate.append("-").append(std::to_string(attempt));
            const fs::path path = Utf8Path(temp) / candidate;
            std::error_code error;
            if (!fs::create_directory(path, error)) {
                if (!error) continue;  // the name is taken
                problem = temp + ": " + error.message();
                return;
            }
            auto held = std::make_unique<FileLock>(Utf8Of(path / kJobLockName));
            if (!held->Held() || !held->StillAtPath()) continue;
            folder = Utf8Of(path);
            lock = std::move(held);
            problem.clear();
            return;
        }
        problem = temp + ": no folder of its own could be made for the job";
    }
};

Job& TheJob() {
    static Job job;
    return job;
}

std::string InTempFolders(const char* name) {
    const std::string job = JobFolder();
    return (job.empty() ? TempFolder() : job) + "/" + name;
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

std::string JobFolder() {
    Job& job = TheJob();
    const std::lock_guard guard(job.mutex);
    if (!job.StillHeld()) job.Make();
    return job.folder;
}

std::string JobFolderProblem() {
    Job& job = TheJob();
    const std::lock_guard guard(job.mutex);
    return job.problem;
}

std::string TempImagePath() {
    return InTempFolders("tempiso.iso");
}

std::string TempWavePath() {
    return InTempFolders("tempwav.wav");
}

std::string TempTrackPath(int track) {
    char name[32];
    std::snprintf(name, sizeof name, "tempwav-%02d.wav", track);
    return InTempFolders(name);
}

bool IsJobFolderName(const std::string& name) {
    return name.rfind(kJobPrefix, 0) == 0;
}

bool IsInTempFolder(const std::string& path) {
    std::error_code error;
    fs::path parent = fs::weakly_canonical(Utf8Path(path), error).parent_path();
    if (error) return false;
    const fs::path temp = fs::weakly_canonical(Utf8Path(TempFolder()), error);
    if (error) return false;
    if (parent == temp) return true;
    return parent.parent_path() == temp && IsJobFolderName(Utf8Of(parent.filename()));
}
