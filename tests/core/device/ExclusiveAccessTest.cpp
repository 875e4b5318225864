// Exclusive drive access inside one process: a second transport on the same
// virtual drive folder never writes a stale state back, and the Linux
// transport holds a claimed drive with O_EXCL (tests/cli/exclusive_access.sh
// races real processes).
#include <gtest/gtest.h>

#include <cerrno>

#include "ExclusiveAccess.h"
#include "VirtualDriveSession.h"
#include "clsSGIO.h"

namespace {
constexpr const char* kInUse = ExclusiveAccess::kInUse;

// Another program on the folder of `bench`.
class OtherProgram {
  public:
    explicit OtherProgram(VirtualDriveSession& bench) : m_drive({bench.Folder()}) {}
    EmuDrive& Drive() { return m_drive.Drive(0); }
    // Status and sense ("KK/AA/QQ") of a 6- or 10-byte command without data.
    std::string Exec(std::initializer_list<std::uint8_t> cdb,
                     std::vector<std::uint8_t>* in = nullptr) {
        std::vector<std::uint8_t> bytes(cdb);
        std::int32_t timeout = 5;
        const std::int32_t status = m_drive.ExecCMD(
            "virtual0", bytes.data(), static_cast<std::uint8_t>(bytes.size()), 0,
            in ? in->data() : nullptr, in ? static_cast<std::int32_t>(in->size()) : 0, timeout);
        char sense[16];
        std::snprintf(sense, sizeof sense, "%02X/%02X/%02X", m_drive.LastSK(), m_drive.LastASC(),
                      m_drive.LastASCQ());
        return std::to_string(status) + " " + sense;
    }

  private:
    clsEmulatedDrive m_drive;
};

TEST(ExclusiveAccess, NoProgramWritesAStaleStateBack) {
    VirtualDriveSession bench;
    bench.Insert(MediumKind::CdR);
    const std::string meta = bench.Folder() + "/drive.meta";
    {
        OtherProgram early(bench);                  // opened before the recording, closed after it
        ASSERT_EQ(bench.WriteDataTrack(0, 32), 0);  // padded to 300 blocks when flushed
        ASSERT_EQ(bench.SynchronizeCache(), 0);
        EXPECT_NE(ReadFile(meta).find("length 300"), std::string::npos);
        early.Drive().SetTrayOpen(true);  // its own stale copy differs: it would save
    }
    EXPECT_NE(ReadFile(meta).find("track 1 session 1 data start 0 length 300"), std::string::npos)
        << ReadFile(meta);
    // Changes of two programs in turn both survive.
    OtherProgram other(bench);
    EXPECT_EQ(other.Exec({0x1B, 0, 0, 0, 0x02, 0}), "0 00/00/00");  // eject (tray open)
    EXPECT_EQ(bench.Exec({0x00, 0, 0, 0, 0, 0}), 2);
    EXPECT_EQ(bench.Sense(), "02/3A/02") << "the first program sees the open tray";
    EXPECT_NE(ReadFile(meta).find("tray open"), std::string::npos);
    EXPECT_NE(ReadFile(meta).find("length 300"), std::string::npos);
}

// The Linux transport holds a claimed drive with a second descriptor opened
// with O_EXCL, which the kernel refuses (EBUSY) while another program has one.
class ExclusiveKernel : public SgioSystem {
  public:
    int exclusiveError = 0;
    int exclusiveOpens = 0, closes = 0;
    std::vector<std::string> ListOpticalDrives() override { return {"/dev/sr0"}; }
    int Open(const std::string&, bool, int&) override { return 100; }
    int OpenExclusive(const std::string&, int& error) override {
        error = exclusiveError;
        if (error != 0) return -1;
        ++exclusiveOpens;
        return 200;
    }
    void Close(int fd) override { closes += fd == 200 ? 1 : 0; }
    int SendSgIo(int, sg_io_hdr_t&, int&) override { return 0; }
    bool QueryAddress(int, ScsiAddress&) override { return false; }
};

TEST(ExclusiveAccess, TheLinuxTransportOpensTheDriveWithOExcl) {
    auto owned = std::make_unique<ExclusiveKernel>();
    ExclusiveKernel& kernel = *owned;
    clsSGIO transport(std::move(owned));
    EXPECT_EQ(transport.ClaimDrive("/dev/sr0"), "");
    EXPECT_EQ(transport.ClaimDrive("/dev/sr0"), "");
    EXPECT_EQ(kernel.exclusiveOpens, 1);
    transport.ReleaseDrive("/dev/sr0");
    EXPECT_EQ(kernel.closes, 0);
    transport.ReleaseDrive("/dev/sr0");
    EXPECT_EQ(kernel.closes, 1);
    kernel.exclusiveError = EBUSY;
    EXPECT_EQ(transport.ClaimDrive("/dev/sr0"), kInUse);
    kernel.exclusiveError = EACCES;
    EXPECT_EQ(transport.ClaimDrive("/dev/sr0"), "/dev/sr0: Permission denied");
    EXPECT_EQ(transport.ClaimDrive("/dev/sr9"), "/dev/sr9: no such drive");
}
}  // namespace
