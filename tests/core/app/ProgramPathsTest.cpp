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
