// The virtual drive's media on Linux: all-zero blocks written, and the holes
// of an inserted image, stay holes in the medium's file; a pressed DVD too
// large for one layer has two; a 25 GB BD-RE costs what was written
// (st_blocks, which Windows does not have).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "EmuDataFile.h"
#include "VirtualDriveSession.h"

namespace {
constexpr std::int64_t kMiB = 1 << 20;

// Bytes the file system holds for the file.
std::int64_t Allocated(const std::string& path) {
    struct stat facts {};
    return ::stat(path.c_str(), &facts) == 0 ? static_cast<std::int64_t>(facts.st_blocks) * 512
                                             : -1;
}

// Whether the file system keeps holes: a file written only at its two ends
// takes less than the stretch between them.
bool KeepsHoles(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const bool written =
        fd >= 0 && ::pwrite(fd, "a", 1, 0) == 1 && ::pwrite(fd, "z", 1, 8 * kMiB) == 1;
    if (fd >= 0) ::close(fd);
    const bool holes = written && Allocated(path) < kMiB;
    std::filesystem::remove(path);
    return holes;
}

std::string ReadBack(const EmuDataFile& data, std::int64_t offset, std::int64_t count) {
    std::string bytes(static_cast<std::size_t>(count), 'x');
    EXPECT_TRUE(data.Read(offset, bytes.data(), count));
    return bytes;
}

TEST(EmulatedSparseMedia, AllZeroBlocksWrittenStayHoles) {
    TempFolder folder;
    if (!KeepsHoles(folder.File("probe"))) GTEST_SKIP() << "no holes on this file system";
    std::string error;
    const std::unique_ptr<EmuDataFile> data = EmuDataFile::Open(folder.File("medium.data"), error);
    ASSERT_TRUE(data) << error;
    // 8 MiB: data at both ends, zeros between, written at an odd offset.
    std::string bytes(8 * kMiB, '\0');
    bytes.replace(0, 6000, 6000, 'a');
    bytes.replace(bytes.size() - 6000, 6000, 6000, 'z');
    ASSERT_TRUE(data->Write(2048, bytes.data(), std::ssize(bytes)));
    EXPECT_EQ(data->Size(), 2048 + std::ssize(bytes));
    EXPECT_EQ(ReadBack(*data, 2048, std::ssize(bytes)), bytes);
    EXPECT_LT(Allocated(folder.File("medium.data")), kMiB);
    const EmuDataFile::Stretch first = data->DataStretch(0);
    EXPECT_EQ(first.start, 0);
    EXPECT_LE(first.end, 64 * 1024);
    EXPECT_GE(data->DataStretch(first.end).start, 2048 + 8 * kMiB - 6000 - 64 * 1024);
    // Zeros over data (a rewritable disc written again) give the space back.
    const std::string zeros(4 * kMiB, '\0');
    ASSERT_TRUE(data->Write(2048 + 4 * kMiB, zeros.data(), std::ssize(zeros)));
    EXPECT_LT(Allocated(folder.File("medium.data")), 256 * 1024);
    EXPECT_EQ(ReadBack(*data, 2048 + 8 * kMiB - 6000, 6000), std::string(6000, '\0'));
    EXPECT_EQ(ReadBack(*data, 2048, 6000), std::string(6000, 'a'));
}

TEST(EmulatedSparseMedia, APressedDvdBeyondOneLayerHasTwoAndKeepsItsHoles) {
    VirtualDriveSession bench;
    if (!KeepsHoles(bench.Folder() + "/probe")) GTEST_SKIP() << "no holes on this file system";
    const std::int64_t blocks = 3000000;  // 6.1 GB
    const std::string image = bench.Put("dual.iso", "");
    std::filesystem::resize_file(image, blocks * 2048);
    {
        std::fstream file(image, std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(16 * 2048);
        file << "\x01"
                "CD001";
        file.seekp((blocks - 1) * 2048);
        file << "last block";
    }
    ASSERT_EQ(bench.Drive().InsertImage(MediumKind::DvdRom, image), "");
    EXPECT_LT(Allocated(bench.Folder() + "/medium.data"), kMiB);
    EXPECT_EQ(bench.ReadCapacity(), blocks - 1);
    std::vector<std::uint8_t> block;
    ASSERT_EQ(bench.Read10(static_cast<std::uint32_t>(blocks - 1), 1, block), 0);
    EXPECT_EQ(std::string(block.begin(), block.begin() + 10), "last block");
    // READ DISC STRUCTURE: two layers, opposite track path, embossed; layer
    // 0 ends at half the data, layer 1 counts on from its complement.
    std::vector<std::uint8_t> structure(4 + 2048);
    ASSERT_EQ(bench.Exec({0xAD, 0, 0, 0, 0, 0, 0, 0, 0x08, 0x04, 0, 0}, &structure), 0);
    EXPECT_EQ(structure[4 + 2], 0x31);
    const std::uint32_t end0 = 0x030000 + 1500000 - 1;
    EXPECT_EQ(Be32(structure, 4 + 8), (~end0 & 0xFFFFFF) + 1500000 - 1);
    EXPECT_EQ(Be32(structure, 4 + 12), end0);
    // A pressed DVD holds two layers at most.
    std::filesystem::resize_file(image, (4171712 + 1) * 2048LL);
    EXPECT_NE(bench.Drive().InsertImage(MediumKind::DvdRom, image).find("does not fit"),
              std::string::npos);
}

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

}  // namespace
