// Exclusive drive access inside one process: a second transport on the same
// virtual drive folder never writes a stale state back (clsSGIOTest: the
// Linux transport's O_EXCL; tests/cli/exclusive_access.sh races real
// processes).
#include <gtest/gtest.h>

#include "VirtualDriveSession.h"

namespace {
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

}  // namespace
