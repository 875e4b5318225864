// The FIFO of a streamed recording and the reader of a streamed image, fed
// through a real pipe by a thread of the test.
#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <numeric>
#include <random>
#include <thread>
#include <vector>

#include "ByteFifo.h"
#include "StreamImageReader.h"

namespace {
constexpr std::size_t kBlock = 2048;

// An image of `blocks` blocks whose sector 16 declares them, random elsewhere.
std::vector<std::uint8_t> VolumeImage(std::uint32_t blocks) {
    std::vector<std::uint8_t> image(blocks * kBlock);
    std::mt19937 random(blocks);
    for (auto& byte : image) byte = static_cast<std::uint8_t>(random());
    std::uint8_t* pvd = image.data() + 16 * kBlock;
    std::fill(pvd, pvd + kBlock, 0);
    pvd[0] = 1;
    std::copy_n("CD001", 5, pvd + 1);
    pvd[6] = 1;
    for (int i = 0; i < 4; ++i) {
        pvd[80 + i] = static_cast<std::uint8_t>(blocks >> (8 * i));
        pvd[87 - i] = static_cast<std::uint8_t>(blocks >> (8 * i));
    }
    return image;
}

// A pipe whose writing end a thread of the test feeds.
class Pipe {
  public:
    Pipe() {
        // A feeder whose reader is gone sees its write fail instead of ending the test.
        std::signal(SIGPIPE, SIG_IGN);
        EXPECT_EQ(::pipe(m_ends), 0);
    }
    ~Pipe() {
        ::close(m_ends[0]);
        StopFeeding();
    }
    FileHandleRecord Reading() const { return {m_ends[0], "pipe"}; }
    // Writes `bytes` in pieces of `piece`, then closes the pipe unless `keepOpen`.
    void Feed(std::vector<std::uint8_t> bytes, std::size_t piece, bool keepOpen = false) {
        m_feeder = std::thread([this, bytes = std::move(bytes), piece, keepOpen] {
            for (std::size_t at = 0; at < bytes.size(); at += piece)
                if (::write(m_ends[1], bytes.data() + at, std::min(piece, bytes.size() - at)) < 0)
                    break;
            if (!keepOpen) CloseWriting();
        });
    }
    // Waits for the feeding thread, then closes the pipe.
    void StopFeeding() {
        if (m_feeder.joinable()) m_feeder.join();
        CloseWriting();
    }
    void CloseWriting() {
        if (m_ends[1] >= 0) ::close(m_ends[1]);
        m_ends[1] = -1;
    }

  private:
    int m_ends[2] = {-1, -1};
    std::thread m_feeder;
};

// As the writing loop takes them: lent from the ring where they lie whole.
std::vector<std::uint8_t> ReadAll(StreamImageReader& reader, std::string& error) {
    std::vector<std::uint8_t> all, spare(32768);
    while (reader.HasMore()) {
        const std::span<const std::uint8_t> chunk = reader.NextChunk(spare);
        if (chunk.empty()) {
            error = reader.Error();
            break;
        }
        all.insert(all.end(), chunk.begin(), chunk.end());
    }
    return all;
}
}  // namespace

TEST(ByteFifo, BytesPassInOrderThroughARingThatWrapsAndTheWaitsAreCounted) {
    ByteFifo fifo(4099);  // a size no piece divides: every wrap position is met
    std::vector<std::uint8_t> sent(300000);
    std::iota(sent.begin(), sent.end(), std::uint8_t{0});
    std::thread putter([&] {
        std::size_t at = 0, piece = 1;
        while (at < sent.size()) {
            const std::span<std::uint8_t> room = fifo.Room();
            const std::size_t n = std::min({room.size(), piece, sent.size() - at});
            std::copy_n(sent.begin() + static_cast<std::ptrdiff_t>(at), n, room.begin());
            fifo.Put(n);
            at += n;
            piece = piece % 5000 + 777;
        }
        fifo.EndPut({});
    });
    std::vector<std::uint8_t> taken(sent.size() + 10);
    const std::size_t got = fifo.Take(taken);
    putter.join();
    EXPECT_EQ(got, sent.size());
    taken.resize(got);
    EXPECT_EQ(taken, sent);
    EXPECT_EQ(fifo.WaitEnd(), "");
    EXPECT_EQ(fifo.FillPercent(), 0);
}

TEST(ByteFifo, LentBytesStayHeldUntilReleasedAndBytesAcrossTheRingsEndAreNotLent) {
    ByteFifo fifo(10);
    const auto put = [&](std::uint8_t first, std::size_t count) {
        const std::span<std::uint8_t> room = fifo.Room();
        ASSERT_GE(room.size(), count);
        std::iota(room.begin(), room.begin() + static_cast<std::ptrdiff_t>(count), first);
        fifo.Put(count);
    };
    put(0, 8);
    const std::span<const std::uint8_t> lent = fifo.Lend(6);
    EXPECT_EQ(std::vector(lent.begin(), lent.end()), (std::vector<std::uint8_t>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(fifo.Room().size(), 2u);  // the lent bytes are not room yet
    put(8, 2);
    fifo.Release();
    EXPECT_EQ(fifo.FillPercent(), 40);
    put(10, 4);  // at the ring's start: bytes 6 to 13 now wrap around its end
    EXPECT_TRUE(fifo.Lend(6).empty());
    std::vector<std::uint8_t> taken(6);
    EXPECT_EQ(fifo.Take(taken), 6u);
    EXPECT_EQ(taken, (std::vector<std::uint8_t>{6, 7, 8, 9, 10, 11}));
    fifo.EndPut({});
    EXPECT_TRUE(fifo.Lend(3).empty());  // two bytes left: the end comes first
}

TEST(StreamImageReader, ReadsTheDeclaredVolumeIgnoresTrailingZerosAndRefusesTrailingData) {
    const std::vector<std::uint8_t> image = VolumeImage(100);
    for (const bool trailingData : {false, true}) {
        Pipe pipe;
        std::vector<std::uint8_t> sent = image;
        sent.resize(sent.size() + 70000, 0);
        if (trailingData) sent.back() = 1;
        pipe.Feed(sent, 4096);
        StreamImageReader reader(pipe.Reading(), "pipe", 65536);  // smaller than the image
        ASSERT_TRUE(reader.Open(std::nullopt)) << reader.Error();
        EXPECT_EQ(reader.Length(), 100 * 2048);
        EXPECT_TRUE(reader.DeclaresLength());
        std::string error;
        const std::vector<std::uint8_t> got = ReadAll(reader, error);
        if (trailingData) {
            EXPECT_NE(error.find("holds data at byte " + std::to_string(sent.size() - 1)),
                      std::string::npos)
                << error;
            EXPECT_LT(got.size(), image.size());  // the last chunk is never handed out
        } else {
            EXPECT_EQ(error, "");
            EXPECT_TRUE(std::equal(image.begin(), image.end(), got.begin()));
        }
    }
}

TEST(StreamImageReader, AnEarlyEndFailsTheChunkItEndsInAndTheSizeMustNotCutTheVolume) {
    const std::vector<std::uint8_t> image = VolumeImage(100);
    {
        Pipe pipe;
        pipe.Feed({image.begin(), image.begin() + 150000}, 8192);
        StreamImageReader reader(pipe.Reading(), "pipe", 1 << 20);
        ASSERT_TRUE(reader.Open(std::nullopt));
        std::string error;
        const std::vector<std::uint8_t> got = ReadAll(reader, error);
        EXPECT_EQ(error,
                  "ended after 150000 of the 204800 bytes it announced (the source stopped "
                  "early)");
        EXPECT_EQ(got.size(), 4u * 32768);
    }
    Pipe pipe;
    pipe.Feed(image, 8192);
    StreamImageReader reader(pipe.Reading(), "pipe", 1 << 20);
    EXPECT_FALSE(reader.Open(99 * 2048));
    EXPECT_EQ(reader.Error(), "holds a volume of 204800 bytes; --size 202752 would cut it");
}

TEST(StreamImageReader, AWriteThatWaitsForTheSourceIsCountedAndClosingDuringAStallReturns) {
    const std::vector<std::uint8_t> image = VolumeImage(200);
    {
        Pipe pipe;
        // The source sends half of the image, then stalls with the pipe open.
        pipe.Feed({image.begin(), image.begin() + 100 * 2048}, 2048, true);
        StreamImageReader reader(pipe.Reading(), "pipe", 1 << 20);
        ASSERT_TRUE(reader.Open(std::nullopt));
        std::vector<std::uint8_t> chunk(32768);
        for (int i = 0; i < 6; ++i) ASSERT_TRUE(reader.ReadChunk(chunk)) << i;
        // Waits for bytes still in the pipe count too; the stall must add one.
        const std::int64_t before = reader.Starved();
        std::thread source([&] {
            while (reader.Starved() == before) std::this_thread::yield();
            pipe.StopFeeding();  // the writing loop waited: now the source ends
        });
        EXPECT_FALSE(reader.ReadChunk(chunk));
        source.join();
        EXPECT_GT(reader.Starved(), before);
        EXPECT_EQ(reader.Error().rfind("ended after 204800 of the 409600 bytes", 0), 0u);
    }
    Pipe pipe;
    pipe.Feed({image.begin(), image.begin() + 20 * 2048}, 2048, true);
    StreamImageReader reader(pipe.Reading(), "pipe", 1 << 20);
    ASSERT_TRUE(reader.Open(std::nullopt));
    // The filling thread waits on a silent source; Close still returns (a
    // hang here ends the test at its time limit).
    reader.Close();
}
