// The command ring of a kernel SCSI unit in user space, answered by the
// virtual drive through the adapter: entries built here byte for byte as the
// kernel lays them out (linux/target_core_user.h, mailbox version 2); and the
// server thread that answers it while the kernel posts.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <atomic>
#include <cstring>

#include "TcmuDriveAdapter.h"
#include "TcmuRing.h"
#include "TcmuServer.h"
#include "TransportSlot.h"
#include "VirtualDriveSession.h"

namespace {

constexpr std::size_t kMailbox = 128, kRing = 1024, kDataArea = kMailbox + kRing;

// A region as the kernel shares it: mailbox, ring, data area; entries are
// queued at the head with their CDB inside the entry and their buffers in
// the data area.
class FakeKernel {
  public:
    FakeKernel() : m_region(kDataArea + 64 * 1024, 0) {
        m_region[0] = 2;
        Put32(4, kMailbox);
        Put32(8, kRing);
    }

    // Queues a command; `buffers` are the lengths of its data buffers, filled with `fill`.
    std::size_t Queue(std::vector<std::uint8_t> cdb, std::vector<std::size_t> buffers,
                      std::uint8_t fill = 0) {
        const std::size_t base = std::max<std::size_t>(48 + 16 * buffers.size(), 112);
        const std::size_t length = base + (cdb.size() + 7) / 8 * 8;
        const std::size_t at = kMailbox + Head();
        Put32(at, static_cast<std::uint32_t>(length) | 1);
        Put32(at + 8, static_cast<std::uint32_t>(buffers.size()));
        Put64(at + 24, at + base);
        std::memcpy(&m_region[at + base], cdb.data(), cdb.size());
        for (std::size_t i = 0; i < buffers.size(); ++i) {
            Put64(at + 48 + 16 * i, kDataArea + m_data);
            Put64(at + 56 + 16 * i, buffers[i]);
            std::memset(&m_region[kDataArea + m_data], fill, buffers[i]);
            m_data += buffers[i];
        }
        PublishHead(static_cast<std::uint32_t>((Head() + length) % kRing));
        return at;
    }
    // Fills the ring up to its end with a padding entry (opcode `op`).
    void Pad(std::uint8_t op = 0) {
        Put32(kMailbox + Head(), static_cast<std::uint32_t>(kRing - Head()) | op);
        PublishHead(0);
    }

    std::uint8_t* Region() { return m_region.data(); }
    std::size_t Size() const { return m_region.size(); }
    std::uint32_t Head() const { return Get32(12); }
    std::uint32_t Tail() const {
        return __atomic_load_n(reinterpret_cast<const std::uint32_t*>(&m_region[64]),
                               __ATOMIC_ACQUIRE);
    }
    // The kernel moves the head once the entries before it are written.
    void PublishHead(std::uint32_t head) {
        __atomic_store_n(reinterpret_cast<std::uint32_t*>(&m_region[12]), head, __ATOMIC_RELEASE);
    }
    std::uint8_t Status(std::size_t entry) const { return m_region[entry + 8]; }
    std::string Sense(std::size_t entry) const {
        char text[12];
        std::snprintf(text, sizeof text, "%02X/%02X/%02X", m_region[entry + 18],
                      m_region[entry + 28], m_region[entry + 29]);
        return text;
    }
    // Data area bytes from the `n`-th byte queued on.
    const std::uint8_t* Data(std::size_t n) const { return &m_region[kDataArea + n]; }
    void Put32(std::size_t at, std::uint32_t value) { std::memcpy(&m_region[at], &value, 4); }
    void Put64(std::size_t at, std::uint64_t value) { std::memcpy(&m_region[at], &value, 8); }

  private:
    std::uint32_t Get32(std::size_t at) const {
        std::uint32_t value;
        std::memcpy(&value, &m_region[at], 4);
        return value;
    }
    std::vector<std::uint8_t> m_region;
    std::size_t m_data = 0;
};

struct RingBench {
    RingBench() { drive.Insert(MediumKind::DvdPlusRw); }

    VirtualDriveSession drive;
    FakeKernel kernel;
    TcmuDriveAdapter adapter{drive.Transport(), "virtual0"};
    TcmuRing ring{kernel.Region(), kernel.Size()};

    bool Answer() {
        std::string problem;
        const bool walked = ring.AnswerPending(adapter, problem);
        EXPECT_EQ(walked, problem.empty()) << problem;
        return walked;
    }
};

TEST(TcmuRing, CommandsGoToTheDriveWithTheirDataSplitOverBuffers) {
    RingBench bench;
    const std::size_t inquiry = bench.kernel.Queue({0x12, 0, 0, 0, 36, 0}, {20, 16}, 0xEE);
    // WRITE(10) of one block at LBA 5, sent in two buffers.
    const std::size_t write =
        bench.kernel.Queue({0x2A, 0, 0, 0, 0, 5, 0, 0, 1, 0}, {1000, 1048}, 0x42);
    ASSERT_TRUE(bench.Answer());
    EXPECT_EQ(bench.kernel.Tail(), bench.kernel.Head());
    EXPECT_EQ(bench.kernel.Status(inquiry), 0);
    EXPECT_EQ(bench.kernel.Data(0)[0], 0x05) << "peripheral type 5 in the first buffer";
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bench.kernel.Data(16)), 16),
              "Virtual Recorder")
        << "the product name spans into the second buffer";
    EXPECT_EQ(bench.kernel.Status(write), 0);
    std::vector<std::uint8_t> block;
    ASSERT_EQ(bench.drive.Read10(5, 1, block), 0);
    EXPECT_EQ(block, std::vector<std::uint8_t>(2048, 0x42));
}

TEST(TcmuRing, ALengthThatDisagreesWithTheCdbIsACheckCondition) {
    RingBench bench;
    const std::size_t write = bench.kernel.Queue({0x2A, 0, 0, 0, 0, 0, 0, 0, 16, 0}, {2048});
    const std::size_t read = bench.kernel.Queue({0x28, 0, 0, 0, 0, 0, 0, 0, 4, 0}, {2048});
    ASSERT_TRUE(bench.Answer());
    EXPECT_EQ(bench.kernel.Status(write), 2);
    EXPECT_EQ(bench.kernel.Sense(write), "05/24/00");
    EXPECT_EQ(bench.kernel.Status(read), 2);
    EXPECT_EQ(bench.kernel.Sense(read), "05/24/00");
    EXPECT_EQ(bench.drive.Drive().Media().recordedEnd, 0) << "nothing written";
}

// An entry moves no more than its CDB asks for (the rest of a longer buffer
// is zeros, never an earlier command's data), and its buffers together never
// exceed the data area (overlapping ones would make the drive take more).
TEST(TcmuRing, AnEntryNeverMovesMoreThanItsCdbOrTheDataAreaHolds) {
    RingBench bench;
    std::vector<std::int32_t> lengths;  // what the drive was given
    SetCommandTrace([&](const CommandTraceEntry& entry) { lengths.push_back(entry.bufferLen); });
    const std::size_t inquiry = bench.kernel.Queue({0x12, 0, 0, 0, 36, 0}, {64}, 0xEE);
    const std::size_t twice = bench.kernel.Queue({0x2A, 0, 0, 0, 0, 0, 0, 0, 16, 0}, {2, 2});
    const std::size_t area = bench.kernel.Size() - kDataArea;
    for (const std::size_t buffer : {twice + 48, twice + 64}) {  // both over the whole area
        bench.kernel.Put64(buffer, kDataArea);
        bench.kernel.Put64(buffer + 8, area);
    }
    ASSERT_TRUE(bench.Answer());
    SetCommandTrace({});
    EXPECT_EQ(lengths, std::vector<std::int32_t>{36});
    EXPECT_EQ(bench.kernel.Status(inquiry), 0);
    EXPECT_EQ(bench.kernel.Data(0)[0], 0x05);
    EXPECT_EQ(std::vector<std::uint8_t>(bench.kernel.Data(36), bench.kernel.Data(64)),
              std::vector<std::uint8_t>(28, 0));
    EXPECT_EQ(bench.kernel.Sense(twice), "04/44/00");
    EXPECT_EQ(bench.drive.Drive().Media().recordedEnd, 0) << "nothing written";
}

TEST(TcmuRing, PaddingWrapsTheRingAndOtherEntriesAreSkipped) {
    RingBench bench;
    for (int i = 0; i < 7; ++i) bench.kernel.Queue({0x00, 0, 0, 0, 0, 0}, {});
    ASSERT_TRUE(bench.Answer());
    bench.kernel.Pad();
    const std::size_t unit = bench.kernel.Queue({0x00, 0, 0, 0, 0, 0}, {});
    EXPECT_EQ(unit, kMailbox) << "the command after the padding starts the ring again";
    ASSERT_TRUE(bench.Answer());
    EXPECT_EQ(bench.kernel.Tail(), bench.kernel.Head());
    EXPECT_EQ(bench.kernel.Status(unit), 0);
    // A task management notice needs no answer; an unknown entry is flagged.
    bench.kernel.Put32(kMailbox + bench.kernel.Head(), 16 | 2);
    bench.kernel.Put32(12, bench.kernel.Head() + 16);
    const std::size_t unknown = kMailbox + bench.kernel.Head();
    bench.kernel.Put32(unknown, 16 | 5);
    bench.kernel.Put32(12, bench.kernel.Head() + 16);
    ASSERT_TRUE(bench.Answer());
    EXPECT_EQ(bench.kernel.Region()[unknown + 7], 0x01) << "TCMU_UFLAG_UNKNOWN_OP";
    EXPECT_EQ(bench.ring.Answered(), 11u);
}

TEST(TcmuRing, DamagedEntriesAreRefusedWithoutTouchingOutsideTheRegion) {
    RingBench bench;
    const std::size_t outside = bench.kernel.Queue({0x12, 0, 0, 0, 36, 0}, {36});
    bench.kernel.Put64(outside + 48, bench.kernel.Size() - 8);  // a buffer past the region
    const std::size_t inRing = bench.kernel.Queue({0x12, 0, 0, 0, 36, 0}, {36});
    bench.kernel.Put64(inRing + 48, kMailbox);  // a buffer over the ring itself
    ASSERT_TRUE(bench.Answer());
    EXPECT_EQ(bench.kernel.Sense(outside), "04/44/00");
    EXPECT_EQ(bench.kernel.Sense(inRing), "04/44/00");

    bench.kernel.Put32(kMailbox + bench.kernel.Head(), 3 << 3 | 1);  // 24 bytes: no room to answer
    bench.kernel.Put32(12, bench.kernel.Head() + 24);
    std::string problem;
    EXPECT_FALSE(bench.ring.AnswerPending(bench.adapter, problem));
    EXPECT_NE(problem, "");
    bench.kernel.Put32(8, 1 << 20);  // a ring larger than the region
    EXPECT_FALSE(bench.ring.AnswerPending(bench.adapter, problem));
    EXPECT_EQ(problem, "the mailbox names a command ring outside the shared region");
}

// The kernel's side of a served unit: it posts commands through one event,
// and learns of answers through another.
class FakeUio : public UioDevice {
  public:
    explicit FakeUio(FakeKernel& kernel) : m_kernel(kernel) {}
    ~FakeUio() override {
        ::close(m_posted);
        ::close(m_answered);
    }
    std::uint8_t* Region() const override { return m_kernel.Region(); }
    std::size_t Size() const override { return m_kernel.Size(); }
    Wake Wait(int stopFd) override {
        pollfd fds[2] = {{m_posted, POLLIN, 0}, {stopFd, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) return Wake::Failed;
        if (fds[1].revents != 0) return Wake::Stop;
        return Take(m_posted) ? Wake::Commands : Wake::Failed;
    }
    bool Notify() override { return Give(m_answered); }
    bool Post() { return Give(m_posted); }
    bool AwaitAnswers() { return Take(m_answered); }

  private:
    static bool Give(int fd) {
        const std::uint64_t one = 1;
        return ::write(fd, &one, sizeof one) == sizeof one;
    }
    static bool Take(int fd) {
        std::uint64_t count = 0;
        return ::read(fd, &count, sizeof count) == sizeof count;
    }
    FakeKernel& m_kernel;
    const int m_posted = ::eventfd(0, EFD_CLOEXEC), m_answered = ::eventfd(0, EFD_CLOEXEC);
};

TEST(TcmuServer, AnswersWhatTheKernelPostsOnItsOwnThreadUntilStopped) {
    RingBench bench;
    FakeUio uio(bench.kernel);
    std::atomic<bool> failed{false};
    TcmuServer server(uio, bench.adapter, [&failed] { failed = true; });
    ASSERT_EQ(server.Start(), "");
    for (int round = 0; round < 4; ++round) {
        const std::size_t inquiry = bench.kernel.Queue({0x12, 0, 0, 0, 36, 0}, {36});
        ASSERT_TRUE(uio.Post() && uio.AwaitAnswers());
        EXPECT_EQ(bench.kernel.Tail(), bench.kernel.Head());
        EXPECT_EQ(bench.kernel.Status(inquiry), 0);
    }
    EXPECT_EQ(server.Stop(), "");
    EXPECT_FALSE(failed);
}

}  // namespace
