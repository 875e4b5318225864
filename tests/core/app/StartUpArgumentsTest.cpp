#include "StartUpArguments.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "TestEnvironment.h"

TEST(StartUpArguments, TheFirstFileIsTheImageAsAnAbsolutePath) {
    const std::string here = std::filesystem::current_path().string();
    EXPECT_EQ(ImageToRecord({}), "");
    EXPECT_EQ(ImageToRecord({"--option"}), "");
    EXPECT_EQ(ImageToRecord({"--option", "discs/../a.iso", "b.iso"}), InFolder(here, "a.iso"));
    EXPECT_EQ(ImageToRecord({InFolder(here, "b.iso")}), InFolder(here, "b.iso"));
    EXPECT_EQ(ImageToRecord({"--", "-dash.iso"}), InFolder(here, "-dash.iso"));
}
