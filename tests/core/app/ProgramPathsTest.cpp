#include "ProgramPaths.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(ProgramPaths, TempFilesLiveInOneWritableFolder) {
    const std::string folder = TempFolder();
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_EQ(TempImagePath(), folder + "/tempiso.iso");
    EXPECT_EQ(TempWavePath(), folder + "/tempwav.wav");
    EXPECT_TRUE(IsInTempFolder(TempImagePath()));
    EXPECT_FALSE(IsInTempFolder("/etc/passwd"));
    EXPECT_FALSE(IsInTempFolder(folder + "/sub/tempiso.iso"));
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
