// The media file of a 25 GB BD-RE stays sparse: a disc costs what was
// written (st_blocks, which Windows does not have).
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "VirtualDriveSession.h"

TEST(EmulatedBluRay, TheMediaFileStaysSparse) {
    VirtualDriveSession bench;
    bench.Insert(MediumKind::BdRe);
    // FORMAT UNIT 31h: the whole disc, without spare areas.
    std::vector<std::uint8_t> list{0x00, 0x82, 0x00, 0x08, 0x00, 0xBA,
                                   0x74, 0x00, 0xC4, 0x00, 0x08, 0x00};
    ASSERT_EQ(bench.Exec({0x04, 0x11, 0, 0, 0, 0}, &list, true), 0);
    ASSERT_EQ(bench.WriteDataTrack(12000000, 32), 0);
    ASSERT_EQ(bench.SynchronizeCache(), 0);
    struct stat info {};
    ASSERT_EQ(::stat((bench.Folder() + "/medium.data").c_str(), &info), 0);
    EXPECT_GE(info.st_size, 12000032LL * 2048);
    EXPECT_LT(info.st_blocks * 512LL, 4LL * 1024 * 1024) << "only the written blocks take room";
}
