#include "StartUpArguments.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(StartUpArguments, TheFirstFileIsTheImageAsAnAbsolutePath) {
    const std::string here = std::filesystem::current_path().string();
    EXPECT_EQ(ImageToRecord({}), "");
    EXPECT_EQ(ImageToRecord({"--option"}), "");
    EXPECT_EQ(ImageToRecord({"--option", "/discs/../a.iso", "b.iso"}), "/a.iso");
    EXPECT_EQ(ImageToRecord({"a.iso"}), here + "/a.iso");
    EXPECT_EQ(ImageToRecord({"--", "-dash.iso"}), here + "/-dash.iso");
}
