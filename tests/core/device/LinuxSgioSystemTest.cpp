#include "LinuxSgioSystem.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "TestEnvironment.h"

namespace {

TEST(LinuxSgioSystem, ListsOpticalDrivesInNumericOrder) {
    TempFolder sysfs;
    for (const char* name : {"sr10", "sda", "sr2", "sr0", "loop0", "srx", "sr1a"})
        std::filesystem::create_directories(sysfs.Path() / name);
    LinuxSgioSystem system(sysfs.Path().string(), sysfs.File("no-proc"));
    EXPECT_EQ(system.ListOpticalDrives(),
              (std::vector<std::string>{"/dev/sr0", "/dev/sr2", "/dev/sr10"}));
}

TEST(LinuxSgioSystem, FallsBackToTheCdromTableWithoutSysfs) {
    TempFolder folder;
    WriteFile(folder.File("info"),
              "CD-ROM information, Id: cdrom.c 3.20 2003/12/17\n\n"
              "drive name:\t\tsr1\tsr0\n"
              "drive speed:\t\t48\t24\n");
    LinuxSgioSystem system(folder.File("no-sysfs"), folder.File("info"));
    EXPECT_EQ(system.ListOpticalDrives(), (std::vector<std::string>{"/dev/sr0", "/dev/sr1"}));
}

TEST(LinuxSgioSystem, NoDrivesAnywhereGivesAnEmptyList) {
    TempFolder folder;
    LinuxSgioSystem system(folder.Path().string(), folder.File("none"));
    EXPECT_TRUE(system.ListOpticalDrives().empty());
}

TEST(LinuxSgioSystem, OpenReportsTheErrorOfAMissingNode) {
    LinuxSgioSystem system;
    int error = 0;
    EXPECT_EQ(system.Open("/dev/does-not-exist-sr99", false, error), -1);
    EXPECT_EQ(error, ENOENT);
}

}  // namespace
