#include "clsSGIO.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <map>

#include "ExclusiveAccess.h"
#include "MediaChanges.h"
#include "ScsiStatus.h"
#include "TransportSlot.h"

namespace {

// The kernel, scripted: nodes, which of them open, and the answer to SG_IO.
class FakeSgioSystem : public SgioSystem {
  public:
    std::vector<std::string> nodes = {"/dev/sr0", "/dev/sr1"};
    std::map<std::string, int> openError;  // node -> errno for write opens
    std::map<std::string, int> readOnlyError;
    std::function<int(sg_io_hdr_t&, int&)> answer = [](sg_io_hdr_t&, int&) { return 0; };
    sg_io_hdr_t lastHeader{};
    std::vector<std::uint8_t> lastCdb;
    std::shared_ptr<int> closedCount = std::make_shared<int>(0);
    std::map<int, bool> writable;

    std::vector<std::string> ListOpticalDrives() override { return nodes; }
    int Open(const std::string& path, bool write, int& error) override {
        const auto& table = write ? openError : readOnlyError;
        const auto found = table.find(path);
        if (found != table.end()) {
            error = found->second;
            return -1;
        }
        const int fd = 100 + static_cast<int>(path.back() - '0');
        writable[fd] = write;
        return fd;
    }
    void Close(int) override { ++*closedCount; }
    int SendSgIo(int, sg_io_hdr_t& header, int& error) override {
        lastHeader = header;
        lastCdb.assign(header.cmdp, header.cmdp + header.cmd_len);
        return answer(header, error);
    }
    bool QueryAddress(int fd, ScsiAddress& address) override {
        if (fd != 101) return false;
        address = {2, 0, 1, 0};
        return true;
    }
    std::optional<std::int64_t> mediaChange;  // CDROM_TIMED_MEDIA_CHANGE; none: an older kernel
    bool LastMediaChange(int, std::int64_t& milliseconds) override {
        if (mediaChange) milliseconds = *mediaChange;
        return mediaChange.has_value();
    }
};

struct Fixture {
    FakeSgioSystem* kernel;
    std::unique_ptr<clsSGIO> transport;
};

Fixture Make(const std::function<void(FakeSgioSystem&)>& setUp = {}) {
    auto kernel = std::make_unique<FakeSgioSystem>();
    if (setUp) setUp(*kernel);
    FakeSgioSystem* raw = kernel.get();
    return {raw, std::make_unique<clsSGIO>(std::move(kernel))};
}

const std::uint8_t kInquiry[6] = {0x12, 0, 0, 0, 36, 0};

TEST(clsSGIO, DriveTableIsTheNodeListInOrder) {
    auto [kernel, transport] = Make();
    EXPECT_TRUE(transport->Installed());
    EXPECT_EQ(transport->DriveCount(), 2);
    EXPECT_EQ(transport->DriveHandle(1), "/dev/sr0");
    EXPECT_EQ(transport->DriveHandle(2), "/dev/sr1");
    EXPECT_EQ(transport->DriveHandle(3), "");
    EXPECT_EQ(transport->HostAdapter("/dev/sr1"), 2);
    EXPECT_EQ(transport->TargetID("/dev/sr1"), 1);
    EXPECT_EQ(transport->HostAdapter("/dev/sr0"), 0);  // the kernel did not tell
    EXPECT_EQ(transport->HostAdapter("/dev/nothing"), 0);
    EXPECT_TRUE(kernel->writable[100]);
    const auto closed = kernel->closedCount;  // the kernel goes with the transport
    transport.reset();
    EXPECT_EQ(*closed, 2);
}

TEST(clsSGIO, FallsBackToReadOnlyExplainsPermissionProblemsAndMayFindNoDrive) {
    auto [kernel, transport] = Make([](FakeSgioSystem& k) {
        k.openError["/dev/sr0"] = EROFS;
        k.openError["/dev/sr1"] = EACCES;
        k.readOnlyError["/dev/sr1"] = EACCES;
    });
    EXPECT_TRUE(transport->Installed());  // sr0 opened read-only
    EXPECT_FALSE(kernel->writable[100]);
    EXPECT_NE(transport->OpenProblem().find("/dev/sr1: Permission denied"), std::string::npos);
    EXPECT_NE(transport->OpenProblem().find("cdrom"), std::string::npos);
    EXPECT_EQ(transport->OpenProblem().find("/dev/sr0"), std::string::npos);
    std::int32_t timeout = 5;
    EXPECT_EQ(transport->ExecCMD("/dev/sr1", kInquiry, 6, 0, nullptr, 0, timeout),
              ScsiStatus::kCannotOpen);
    auto [none, noDrives] = Make([](FakeSgioSystem& k) { k.nodes.clear(); });
    EXPECT_FALSE(noDrives->Installed());
    EXPECT_EQ(noDrives->OpenProblem(), "");
}

// Directions, lengths and the CDB are proved by every command of
// vm_guest_recorder, which a wrong one fails; time limits are not.
// The sr driver takes the drive's unit attentions and media events itself:
// its time of the last change is part of the program's mark of changes.
TEST(clsSGIO, TheKernelsTimeOfTheLastMediumChangeMovesTheMark) {
    auto [kernel, transport] = Make();
    EXPECT_EQ(transport->LastMediaChange("/dev/sr0"), std::nullopt);
    kernel->mediaChange = 5000;
    EXPECT_EQ(transport->LastMediaChange("/dev/sr0"), 5000);
    EXPECT_EQ(transport->LastMediaChange("/dev/sr7"), std::nullopt);
    SetTransport(std::move(transport));
    const MediaChangeMark before = MediaChanges::Mark("/dev/sr0");
    EXPECT_EQ(before.system, 5000);
    EXPECT_EQ(MediaChanges::Mark("/dev/sr0"), before);
    kernel->mediaChange = 7000;
    EXPECT_NE(MediaChanges::Mark("/dev/sr0"), before);
    SetTransport(nullptr);
}

TEST(clsSGIO, TimeLimitsAreMillisecondsAndZeroIsAnHour) {
    auto [kernel, transport] = Make();
    std::int32_t timeout = 5;
    EXPECT_EQ(transport->ExecCMD("/dev/sr0", kInquiry, 6, 0, nullptr, 0, timeout), 0);
    EXPECT_EQ(kernel->lastHeader.timeout, 5000u);
    EXPECT_GE(kernel->lastHeader.mx_sb_len, 32);  // the fake writes sense beyond it unchecked
    timeout = 0;
    EXPECT_EQ(transport->ExecCMD("/dev/sr0", kInquiry, 6, 0, nullptr, 0, timeout), 0);
    EXPECT_EQ(timeout, 3600000);
    EXPECT_EQ(kernel->lastHeader.timeout, 3600000000u);
}

// The kernel reads cmd_len bytes of the CDB: one longer than the 16 bytes
// the transport copies never reaches it.
TEST(clsSGIO, RefusesACdbLongerThanSixteenBytes) {
    auto [kernel, transport] = Make();
    std::uint8_t cdb[32] = {0x7F};
    std::int32_t timeout = 5;
    EXPECT_EQ(transport->ExecCMD("/dev/sr0", cdb, 17, 0, nullptr, 0, timeout),
              ScsiStatus::kServiceFailure);
    EXPECT_TRUE(kernel->lastCdb.empty());
    EXPECT_EQ(transport->ExecCMD("/dev/sr0", cdb, 16, 0, nullptr, 0, timeout), ScsiStatus::kGood);
    EXPECT_EQ(kernel->lastHeader.cmd_len, 16);
}

// What the kernel answers, in order, and the status and sense ("KK/AA/QQ")
// the transport makes of it.
TEST(clsSGIO, MapsStatusAndSense) {
    using Kernel = std::function<int(sg_io_hdr_t&, int&)>;
    const auto reply = [](std::uint8_t status, std::vector<std::uint8_t> sense,
                          std::uint8_t driverStatus = 0, std::uint16_t hostStatus = 0) -> Kernel {
        return [=](sg_io_hdr_t& header, int&) {
            header.status = status;
            header.driver_status = driverStatus;  // DRIVER_SENSE (8) is not a failure
            header.host_status = hostStatus;
            std::memset(header.sbp, 0, header.mx_sb_len);
            std::copy(sense.begin(), sense.end(), header.sbp);
            header.sb_len_wr = static_cast<unsigned char>(sense.size());
            return 0;
        };
    };
    const std::vector<std::uint8_t> noMedium = {0x70, 0, 0x02, 0, 0, 0,    0,
                                                10,   0, 0,    0, 0, 0x3A, 0x01};
    const struct {
        const char* name;
        Kernel kernel;
        std::int32_t status;
        const char* sense;
    } answers[] = {
        {"fixed sense", reply(0x02, noMedium, 0x08), 2, "02/3A/01"},
        {"a failed call leaves no stale sense",
         [](sg_io_hdr_t&, int& error) { return error = ENODEV, -1; }, 255, "00/00/00"},
        {"descriptor sense", reply(0x02, {0x72, 0x05, 0x24, 0, 0, 0, 0, 0}), 2, "05/24/00"},
        {"BUSY", reply(0x08, {}), 8, "00/00/00"},
        {"fixed sense again", reply(0x02, noMedium), 2, "02/3A/01"},
        {"GOOD clears the sense", reply(0, {}), 0, "00/00/00"},
        {"DID_TIME_OUT", reply(0, {}, 0, 0x03), 255, "00/00/00"},
        {"DRIVER_TIMEOUT of older sg", reply(0, {}, 0x06), 255, "00/00/00"},
    };
    auto [kernel, transport] = Make();
    for (const auto& a : answers) {
        kernel->answer = a.kernel;
        std::int32_t timeout = 5;
        EXPECT_EQ(transport->ExecCMD("/dev/sr0", kInquiry, 6, 0, nullptr, 0, timeout), a.status)
            << a.name;
        char sense[12];
        std::snprintf(sense, sizeof sense, "%02X/%02X/%02X", transport->LastSK(),
                      transport->LastASC(), transport->LastASCQ());
        EXPECT_STREQ(sense, a.sense) << a.name;
    }
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
    EXPECT_EQ(transport.ClaimDrive("/dev/sr0"), ExclusiveAccess::kInUse);
    kernel.exclusiveError = EACCES;
    EXPECT_EQ(transport.ClaimDrive("/dev/sr0"), "/dev/sr0: Permission denied");
    EXPECT_EQ(transport.ClaimDrive("/dev/sr9"), "/dev/sr9: no such drive");
}
}  // namespace
