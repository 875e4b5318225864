#include "ProgramPaths.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "FileLock.h"

// Each run keeps its temporary files in a folder of its own, locked while it
// runs (that a clean-up spares it is proved by cli_audio_safety).
TEST(ProgramPaths, TempFilesLiveInTheRunsOwnLockedFolder) {
    const std::string folder = TempFolder();
    const std::string job = JobFolder();
    EXPECT_TRUE(std::filesystem::is_directory(job));
    EXPECT_EQ(std::filesystem::path(job).parent_path(), folder);
    EXPECT_TRUE(IsJobFolderName(std::filesystem::path(job).filename().string()));
    EXPECT_FALSE(FileLock(job + "/" + kJobLockName).Held());
    EXPECT_EQ(TempImagePath(), job + "/tempiso.iso");
    EXPECT_EQ(TempWavePath(), job + "/tempwav.wav");
    EXPECT_EQ(TempTrackPath(7), job + "/tempwav-07.wav");
    EXPECT_TRUE(IsInTempFolder(TempImagePath()));
    EXPECT_TRUE(IsInTempFolder(folder + "/tempiso.iso"));  // where older versions kept it
    EXPECT_FALSE(IsInTempFolder("/etc/passwd"));
    EXPECT_FALSE(IsInTempFolder(folder + "/sub/tempiso.iso"));
#ifndef _WIN32  // Windows removes no folder whose lock file is held open
    // A folder taken away under the run is made anew.
    std::filesystem::remove_all(job);
    EXPECT_TRUE(std::filesystem::is_directory(JobFolder()));
#endif
}

TEST(ProgramPaths, ProgramFolderHoldsTheExecutable) {
    EXPECT_TRUE(
        std::filesystem::exists(std::filesystem::path(ProgramFolder()) / MAPLE_TEST_EXECUTABLE));
    EXPECT_FALSE(ProgramDataFolder().empty());
}

#ifndef _WIN32
#include <pwd.h>
#include <unistd.h>

#include "SystemAccess.h"

// Without HOME the user's own folder from the password entry is used, never a shared one.
TEST(ProgramPaths, WithoutHomeTheUsersOwnFolderIsUsed) {
    const char* names[] = {"HOME", "XDG_CACHE_HOME", "XDG_CONFIG_HOME"};
    std::string saved[3];
    for (int i = 0; i < 3; ++i) {
        saved[i] = SystemAccess::Environment(names[i]);
        ::unsetenv(names[i]);
    }
    const std::string own = ::getpwuid(::geteuid())->pw_dir;
    EXPECT_EQ(SystemAccess::UserCacheFolder(), own + "/.cache");
    EXPECT_EQ(SystemAccess::UserConfigFolder(), own + "/.config");
    for (int i = 0; i < 3; ++i)
        if (!saved[i].empty()) ::setenv(names[i], saved[i].c_str(), 1);
}
#endif
