// Holes on Linux: the image writer's output keeps long runs of zeros as
// holes, and source files are read around theirs.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <utility>
#include <vector>

#include "../IsoTestSupport.h"
#include "ImageOutput.h"
#include "LocalFileSource.h"
#include "TestEnvironment.h"
#include "modFileAccess.h"

namespace {
using Stretches = std::vector<std::pair<std::int64_t, std::int64_t>>;
constexpr std::int64_t kMiB = 1 << 20;

// Where the file system keeps data, as [start, end) stretches.
Stretches DataOf(const std::string& path) {
    Stretches data;
    const int fd = ::open(path.c_str(), O_RDONLY);
    for (off_t at = 0;;) {
        const off_t start = ::lseek(fd, at, SEEK_DATA);
        if (start < 0) break;
        at = ::lseek(fd, start, SEEK_HOLE);
        data.emplace_back(start, at);
    }
    ::close(fd);
    return data;
}

class IsoSparseFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        std::filesystem::resize_file(Probe(), 4 * kMiB);
        if (!DataOf(Probe()).empty()) GTEST_SKIP() << "this file system keeps no holes";
    }
    std::string Probe() const {
        WriteFile(m_folder.File("probe"), "");
        return m_folder.File("probe");
    }
    TempFolder m_folder;
};

TEST_F(IsoSparseFiles, RunsOfZerosOf1MiBOrMoreBecomeHolesShorterOnesAreWritten) {
    const std::string path = m_folder.File("image.bin");
    FileHandleRecord file =
        modFileAccess::FileOpen(path, modFileAccess::Access::Write, modFileAccess::Share::ReadWrite,
                                modFileAccess::Disposition::CreateNew);
    ASSERT_NE(file.handle, -1);
    ImageOutput output(file);
    const std::string a(5000, 'a'), b(100, 'b');
    const auto bytes = [](const std::string& text) {
        return std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    };
    output.Write(bytes(a));
    output.Zeros(3 * kMiB);  // a hole
    output.Write(bytes(b));
    output.Zeros(kMiB - 2048);  // written: too short for a hole
    output.Write(bytes(b));
    output.Zeros(2 * kMiB + 10);  // a hole at the end
    ASSERT_TRUE(output.Finish()) << output.Problem();
    modFileAccess::FileClose(file);

    const std::int64_t second = 5000 + 3 * kMiB, third = second + 100 + kMiB - 2048;
    EXPECT_EQ(static_cast<std::int64_t>(std::filesystem::file_size(path)),
              third + 100 + 2 * kMiB + 10);
    EXPECT_EQ(ReadAt(path, 0, 5000), a);
    EXPECT_EQ(ReadAt(path, 5000, 3 * kMiB), std::string(3 * kMiB, '\0'));
    EXPECT_EQ(ReadAt(path, second, 100), b);
    EXPECT_EQ(ReadAt(path, third, 100), b);
    EXPECT_EQ(ReadAt(path, third + 100, 3 * kMiB), std::string(2 * kMiB + 10, '\0'));
    // Data where the bytes are, and over the short run; holes elsewhere (the
    // file system's blocks are at most 64 KiB).
    const Stretches data = DataOf(path);
    ASSERT_EQ(data.size(), 2u);
    EXPECT_LE(data[0].second, 64 * 1024);
    EXPECT_GE(data[1].first, second - 64 * 1024);
    EXPECT_LE(data[1].first, second);
    EXPECT_GE(data[1].second, third + 100);
    EXPECT_LE(data[1].second, third + 100 + 64 * 1024);
}

TEST_F(IsoSparseFiles, SourceFilesAreReadAroundTheirHoles) {
    const std::string path = m_folder.File("source.bin");
    WriteFile(path, "");
    std::filesystem::resize_file(path, 64 * kMiB);
    {
        std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(40 * kMiB);
        file << "middle";
    }
    LocalFileSource source;
    const std::unique_ptr<FileReader> reader = source.Open(path);
    ASSERT_TRUE(reader);
    const FileReader::Stretch first = reader->SkipHole(64 * kMiB);
    EXPECT_GT(first.hole, 40 * kMiB - 64 * 1024);
    EXPECT_LE(first.hole, 40 * kMiB);
    EXPECT_GE(first.hole + first.data, 40 * kMiB + 6);
    std::string bytes(static_cast<std::size_t>(40 * kMiB + 6 - first.hole), 'x');
    ASSERT_EQ(reader->Read(reinterpret_cast<std::uint8_t*>(bytes.data()), std::ssize(bytes)),
              std::ssize(bytes));
    EXPECT_EQ(bytes.substr(bytes.size() - 6), "middle");
    EXPECT_EQ(bytes.find_first_not_of('\0'), bytes.size() - 6);
    // The rest of the data block, then the hole that ends the file.
    const FileReader::Stretch block = reader->SkipHole(kMiB);
    EXPECT_EQ(block.hole, 0);
    ASSERT_GT(block.data, 0);
    ASSERT_LE(block.data, 64 * 1024);
    bytes.assign(static_cast<std::size_t>(block.data), 'x');
    ASSERT_EQ(reader->Read(reinterpret_cast<std::uint8_t*>(bytes.data()), block.data), block.data);
    const std::int64_t at = 40 * kMiB + 6 + block.data;
    EXPECT_EQ(reader->SkipHole(kMiB).hole, kMiB) << "at most as far as asked";
    const FileReader::Stretch end = reader->SkipHole(64 * kMiB);
    EXPECT_EQ(end.hole, 64 * kMiB - at - kMiB);
    EXPECT_EQ(end.data, 0);
    std::uint8_t byte = 0;
    EXPECT_EQ(reader->Read(&byte, 1), 0);
}

}  // namespace
