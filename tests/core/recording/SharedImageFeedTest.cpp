// One image fed to several recordings: every tap gets the image's bytes at
// its own pace, the source is read once, a tap that closes early holds
// nobody back, and a source that fails fails every tap.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <thread>

#include "SharedImageFeed.h"

namespace {

// An image in memory that counts the bytes read from it and fails at `failAt`.
class MemorySource : public ImageSource {
  public:
    MemorySource(std::vector<std::uint8_t> bytes, std::int64_t failAt = -1)
        : m_bytes(std::move(bytes)), m_failAt(failAt) {}
    std::int64_t Length() const override { return static_cast<std::int64_t>(m_bytes.size()); }
    bool DeclaresLength() const override { return true; }
    bool HasMore() const override { return m_position < Length(); }
    bool ReadChunk(std::span<std::uint8_t> chunk) override {
        if (m_failAt >= 0 && m_position >= m_failAt) {
            m_error = "cannot be read (disk error)";
            return false;
        }
        const auto n =
            std::min<std::int64_t>(static_cast<std::int64_t>(chunk.size()), Length() - m_position);
        std::memcpy(chunk.data(), m_bytes.data() + m_position, static_cast<std::size_t>(n));
        std::fill(chunk.begin() + n, chunk.end(), std::uint8_t{0});
        m_position += n;
        read += static_cast<std::int64_t>(chunk.size());
        return true;
    }
    void Close() override {}
    const std::string& Error() const override { return m_error; }
    std::string Name() const override { return "image.iso"; }
    std::int64_t read = 0;  // bytes handed to the feed

  private:
    std::vector<std::uint8_t> m_bytes;
    std::int64_t m_position = 0;
    std::int64_t m_failAt;
    std::string m_error;
};

std::vector<std::uint8_t> RandomBytes(std::size_t count) {
    std::mt19937 random(7);
    std::vector<std::uint8_t> bytes(count);
    for (auto& byte : bytes) byte = static_cast<std::uint8_t>(random());
    return bytes;
}

// Reads the tap in chunks of `chunkBytes` until it ends, fails or `stopAfter` bytes.
std::vector<std::uint8_t> ReadAll(ImageSource& tap, std::size_t chunkBytes, std::size_t stopAfter,
                                  std::string& error) {
    std::vector<std::uint8_t> got, chunk(chunkBytes);
    while (tap.HasMore() && got.size() < stopAfter) {
        if (!tap.ReadChunk(chunk)) {
            error = tap.Error();
            break;
        }
        got.insert(got.end(), chunk.begin(), chunk.end());
    }
    tap.Close();
    return got;
}

TEST(SharedImageFeedTest, EveryTapGetsTheImageReadOnceAndAClosedTapHoldsNoneBack) {
    const std::vector<std::uint8_t> image = RandomBytes((5u << 20) + 12345);
    MemorySource source(image);
    // A ring of four pieces, far smaller than the image: the taps wrap it many times.
    SharedImageFeed feed(source, 1);
    std::vector<std::unique_ptr<ImageSource>> taps;
    for (int i = 0; i < 3; ++i) taps.push_back(feed.OpenTap());
    const std::size_t chunks[3] = {32768, 65536, 32768};
    const std::size_t stops[3] = {SIZE_MAX, SIZE_MAX, 100000};  // the third drops out early
    std::vector<std::uint8_t> got[3];
    std::string errors[3];
    std::vector<std::thread> threads;
    for (int i = 0; i < 3; ++i)
        threads.emplace_back(
            [&, i] { got[i] = ReadAll(*taps[i], chunks[i], stops[i], errors[i]); });
    for (auto& thread : threads) thread.join();
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(errors[i], "");
        ASSERT_GE(got[i].size(), image.size());
        EXPECT_TRUE(std::equal(image.begin(), image.end(), got[i].begin())) << "tap " << i;
        EXPECT_TRUE(std::all_of(got[i].begin() + static_cast<std::ptrdiff_t>(image.size()),
                                got[i].end(), [](auto b) { return b == 0; }));
    }
    EXPECT_EQ(got[2].size(), 131072u);
    const auto piece = static_cast<std::int64_t>(SharedImageFeed::kPieceBytes);
    EXPECT_EQ(source.read, (source.Length() + piece - 1) / piece * piece);
}

TEST(SharedImageFeedTest, ASourceThatFailsFailsEveryTap) {
    MemorySource source(RandomBytes(3u << 20), 2 << 20);
    SharedImageFeed feed(source, 1 << 20);
    auto first = feed.OpenTap(), second = feed.OpenTap();
    std::string errors[2];
    std::thread other([&] { (void)ReadAll(*second, 65536, SIZE_MAX, errors[1]); });
    const auto got = ReadAll(*first, 32768, SIZE_MAX, errors[0]);
    other.join();
    EXPECT_EQ(got.size(), std::size_t{2} << 20);
    EXPECT_EQ(errors[0], "cannot be read (disk error)");
    EXPECT_EQ(errors[1], "cannot be read (disk error)");
}

}  // namespace
