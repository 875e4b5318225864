// How the program chooses the virtual drive: named folders, the environment
// variable, and the problem texts when a folder cannot be used.
#include <gtest/gtest.h>

#include <cstdlib>

#include "TransportFactory.h"
#include "emulated/VirtualDriveBench.h"

namespace {

TEST(EmulatedTransportChainTest, NamedFoldersGiveTheVirtualTransport) {
    VirtualDriveBench first, second;
    TransportOptions options;
    options.virtualDrives = {first.Folder(), second.Folder()};
    options.preferVirtual = true;
    TransportChoice choice = CreateTransport(options);
    ASSERT_TRUE(choice.transport) << choice.problem;
    EXPECT_EQ(choice.transport->Interface(), "Virtual");
    EXPECT_EQ(choice.transport->DriveCount(), 2);
    EXPECT_EQ(choice.transport->DriveHandle(2), "virtual1");
    EXPECT_EQ(choice.transport->TargetID("virtual1"), 1);
    EXPECT_EQ(choice.problem, "");
}

TEST(EmulatedTransportChainTest, ADamagedFolderIsReportedByName) {
    VirtualDriveBench bench;
    WriteFile(bench.Folder() + "/drive.meta", "maple-virtual-drive 1\nmedium floppy\n");
    TransportOptions options;
    options.virtualDrives = {bench.Folder()};
    options.preferVirtual = true;
    TransportChoice choice = CreateTransport(options);
    EXPECT_FALSE(choice.transport);
    EXPECT_EQ(choice.problem,
              "virtual drive " + bench.Folder() + "/drive.meta: line 2: unknown medium 'floppy'");
}

TEST(EmulatedTransportChainTest, EnvironmentListsFoldersSeparatedByColons) {
    ASSERT_EQ(setenv("MAPLE_VIRTUAL_DRIVES", "/a/one::/b/two:", 1), 0);
    EXPECT_EQ(VirtualDrivesFromEnvironment(), (std::vector<std::string>{"/a/one", "/b/two"}));
    ASSERT_EQ(unsetenv("MAPLE_VIRTUAL_DRIVES"), 0);
    EXPECT_TRUE(VirtualDrivesFromEnvironment().empty());
}

}  // namespace
