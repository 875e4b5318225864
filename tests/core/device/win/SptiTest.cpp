// The pass-through transport against a recording stand-in for the system:
// drive discovery, handles, the bytes of each request and the results.
#include <windows.h>
// clang-format off
#include <ntddscsi.h>
// clang-format on
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <vector>

#include "Sleeper.h"
#include "clsSPTI.h"

namespace {
// A system with CD-ROM drives at the given letters whose requests are
// recorded and answered with a set status and sense.
class RecordingSystem : public SptiSystem {
  public:
    struct Log {
        std::vector<std::string> opened;
        std::vector<std::uint32_t> accesses, codes;
        std::vector<std::vector<std::uint8_t>> requests;
        std::vector<std::uint32_t> sizes;
    };
    RecordingSystem(std::string letters, Log& log) : m_letters(std::move(letters)), m_log(log) {}

    unsigned DriveType(char letter) override {
        return m_letters.find(letter) != std::string::npos ? 5 : 3;
    }
    bool NtVersion5OrLater() override { return nt5; }
    std::intptr_t Open(const std::string& path, std::uint32_t access) override {
        m_log.opened.push_back(path);
        m_log.accesses.push_back(access);
        return path == "\\\\.\\E:" ? kInvalidHandle : 100 + path[4];
    }
    void Close(std::intptr_t) override {}
    bool Control(std::intptr_t, std::uint32_t code, void* buffer, std::uint32_t inBytes,
                 std::uint32_t outBytes) override {
        auto* bytes = static_cast<std::uint8_t*>(buffer);
        m_log.codes.push_back(code);
        m_log.requests.emplace_back(bytes, bytes + inBytes);
        m_log.sizes.push_back(outBytes);
        if (code == IOCTL_SCSI_GET_ADDRESS) {
            const std::uint8_t address[] = {1, 2, 3, 4};  // port, path, target, LUN
            std::memcpy(bytes + 4, address, 4);
        } else if (code == IOCTL_SCSI_PASS_THROUGH_DIRECT) {
            bytes[2] = status;
            std::memcpy(bytes + 60, sense.data(), sense.size());
        } else {
            return Answer(code, bytes);
        }
        return accept;
    }
    std::uint32_t LastError() override { return m_lastError; }

    // Locks: the error each request fails with (0: succeeds), and whether
    // another program holds the drive's exclusive access.
    static constexpr std::uint32_t kExclusive = 0x2C05C;  // IOCTL_CDROM_EXCLUSIVE_ACCESS
    std::map<std::uint32_t, std::vector<std::uint32_t>> lockErrors;
    bool heldElsewhere = false;

    bool nt5 = true, accept = true;
    std::uint8_t status = 0;
    std::vector<std::uint8_t> sense;

  private:
    // Volume locks by code; exclusive access by request type (its first byte).
    bool Answer(std::uint32_t code, std::uint8_t* bytes) {
        const std::uint32_t key = code == kExclusive ? kExclusive + bytes[0] : code;
        if (code == kExclusive && bytes[0] == 0) bytes[0] = heldElsewhere;
        std::vector<std::uint32_t>& errors = lockErrors[key];
        m_lastError = errors.empty() ? 0 : errors.front();
        if (errors.size() > 1) errors.erase(errors.begin());  // the last one stays
        return m_lastError == 0;
    }

    std::string m_letters;
    Log& m_log;
    std::uint32_t m_lastError = 0;
};

class Spti : public ::testing::Test {
  protected:
    RecordingSystem& System() { return *m_system; }
    clsSPTI& Transport(const std::string& letters = "DF") {
        auto system = std::make_unique<RecordingSystem>(letters, m_log);
        m_system = system.get();
        m_spti = std::make_unique<clsSPTI>(std::move(system));
        return *m_spti;
    }
    RecordingSystem::Log m_log;
    RecordingSystem* m_system = nullptr;
    std::unique_ptr<clsSPTI> m_spti;
};

TEST_F(Spti, DrivesAreTheCdRomLettersOpenedOnceForReadingAndWriting) {
    clsSPTI& spti = Transport("DF");
    EXPECT_EQ(spti.Interface(), "SPTI");
    EXPECT_EQ(spti.DriveCount(), 2);
    EXPECT_EQ(spti.DriveHandle(2), "F");
    EXPECT_EQ(spti.DriveChar("F"), "F");
    EXPECT_TRUE(spti.Installed() && spti.Initialized());
    EXPECT_EQ(spti.HostAdapter("d"), 1);
    EXPECT_EQ(spti.TargetID("D"), 3);
    EXPECT_EQ(spti.LUN("D"), 4);
    EXPECT_EQ(m_log.opened, (std::vector<std::string>{"\\\\.\\D:", "\\\\.\\F:"}));
    EXPECT_EQ(m_log.accesses, (std::vector<std::uint32_t>{0xC0000000, 0xC0000000}));
    EXPECT_EQ(m_log.requests.back(), (std::vector<std::uint8_t>{8, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(spti.HostAdapter("7"), 0);  // no letter, no handle
}

std::uint64_t Field(const std::vector<std::uint8_t>& bytes, std::size_t at, std::size_t width) {
    std::uint64_t value = 0;
    for (std::size_t i = width; i-- > 0;) value = value << 8 | bytes.at(at + i);
    return value;
}

TEST_F(Spti, TheRequestIsLaidOutAsTheSdkStructureWithTheSenseAfterIt) {
    clsSPTI& spti = Transport();
    std::uint8_t data[2048];
    const std::uint8_t cdb[10] = {0x28, 0, 0, 0, 0, 16, 0, 0, 1, 0};
    std::int32_t timeout = 0;
    ASSERT_EQ(spti.ExecCMD("D", cdb, 10, 0, data, sizeof data, timeout), 0);
    EXPECT_EQ(timeout, 3600000);  // no practical limit, written back
    const std::vector<std::uint8_t>& request = m_log.requests.back();
    EXPECT_EQ(m_log.codes.back(), static_cast<std::uint32_t>(IOCTL_SCSI_PASS_THROUGH_DIRECT));
    // Offsets of the 32-bit table (80 bytes) as they move in the 64-bit SDK
    // structure: the data pointer widens to 8 aligned bytes.
    struct Expected {
        std::size_t at32, at64, width;
        std::uint64_t value;
    };
    const Expected fields[] = {
        {0, 0, 2, 56},                                        // Length: 44 in 32 bits
        {2, 2, 4, 0},                                         // ScsiStatus, PathId, TargetId, Lun
        {6, 6, 1, 10},                                        // CdbLength
        {7, 7, 1, 31},                                        // SenseInfoLength
        {8, 8, 1, 1},                                         // DataIn: data in or none
        {9, 9, 3, 0},                                         // padding
        {12, 12, 4, 2048},                                    // DataTransferLength
        {16, 16, 4, 3600000},                                 // TimeOutValue
        {20, 24, 8, reinterpret_cast<std::uintptr_t>(data)},  // DataBuffer
        {24, 32, 4, 60},                                      // SenseInfoOffset: 48 in 32 bits
        {44, 56, 4, 0},                                       // filler
    };
    EXPECT_EQ(request.size(), 96u);  // 80 in 32 bits
    EXPECT_EQ(m_log.sizes.back(), 96u);
    for (const Expected& field : fields)
        EXPECT_EQ(Field(request, field.at64, field.width), field.value) << "offset " << field.at32;
    EXPECT_EQ(Field(request, 20, 4), 0u);  // alignment gap before the pointer
    EXPECT_TRUE(std::equal(cdb, cdb + 10, request.begin() + 36));  // Cdb: 28 in 32 bits
    EXPECT_TRUE(
        std::all_of(request.begin() + 46, request.begin() + 52, [](auto b) { return b == 0; }));
    EXPECT_TRUE(std::all_of(request.begin() + 60, request.end(), [](auto b) { return b == 0; }));
    const std::uint8_t write[10] = {0x2A};
    ASSERT_EQ(spti.ExecCMD("D", write, 10, 1, data, sizeof data, timeout = 30), 0);
    EXPECT_EQ(m_log.requests.back()[8], 0);  // DataIn: data out
    EXPECT_EQ(Field(m_log.requests.back(), 16, 4), 30u);
}

TEST_F(Spti, StatusesAndSenseOfEachOutcome) {
    clsSPTI& spti = Transport("DE");
    const std::uint8_t cdb[6] = {0};
    std::int32_t timeout = 5;
    System().status = 2;
    System().sense = {0x70, 0, 0x02, 0, 0, 0, 0, 10, 0, 0, 0, 0, 0x3A, 0x01};
    EXPECT_EQ(spti.ExecCMD("D", cdb, 6, 0, nullptr, 0, timeout), 2);
    EXPECT_EQ(spti.LastSK(), 2);
    EXPECT_EQ(spti.LastASC(), 0x3A);
    EXPECT_EQ(spti.LastASCQ(), 1);
    System().sense = {0x72, 0x03, 0x11, 0x05, 0, 0, 0, 0};  // descriptor format
    EXPECT_EQ(spti.ExecCMD("D", cdb, 6, 0, nullptr, 0, timeout), 2);
    EXPECT_EQ(spti.LastSK(), 3);
    EXPECT_EQ(spti.LastASC(), 0x11);
    EXPECT_EQ(spti.LastASCQ(), 5);
    EXPECT_EQ(spti.ExecCMD("E", cdb, 6, 0, nullptr, 0, timeout), 24);  // cannot be opened
    EXPECT_EQ(spti.LastASC(), 0x11);                                   // sense untouched
    System().accept = false;
    System().sense.assign(14, 0);
    EXPECT_EQ(spti.ExecCMD("D", cdb, 6, 0, nullptr, 0, timeout), 255);
    EXPECT_EQ(spti.LastSK(), 0);
    EXPECT_EQ(spti.HostAdapter("D"), 0);  // a failed address request
}

// Exclusive access requests share one code; the stand-in keys them by type.
constexpr std::uint32_t kExclusive = RecordingSystem::kExclusive, kQuery = kExclusive,
                        kLock = kExclusive + 1;

TEST_F(Spti, AClaimLocksTheVolumeThenTakesExclusiveAccessNestsAndGivesBoth) {
    clsSPTI& spti = Transport();
    ASSERT_EQ(spti.ClaimDrive("d"), "");
    ASSERT_EQ(m_log.codes, (std::vector<std::uint32_t>{kExclusive, FSCTL_LOCK_VOLUME, kExclusive}));
    EXPECT_EQ(m_log.sizes[0], 65u);  // the state answered over the 8-byte query
    const std::vector<std::uint8_t>& lock = m_log.requests.back();
    ASSERT_EQ(lock.size(), 72u);
    EXPECT_EQ(Field(lock, 0, 4), 1u);  // lock
    EXPECT_EQ(Field(lock, 4, 4), 1u);  // the file system is kept off by the volume lock
    EXPECT_STREQ(reinterpret_cast<const char*>(lock.data() + 8), "MAPLE CD DVD Writer");
    ASSERT_EQ(spti.ClaimDrive("D"), "");  // nested: nothing more is asked
    spti.ReleaseDrive("D");
    EXPECT_EQ(m_log.codes.size(), 3u);
    spti.ReleaseDrive("D");
    EXPECT_EQ(m_log.codes, (std::vector<std::uint32_t>{kExclusive, FSCTL_LOCK_VOLUME, kExclusive,
                                                       kExclusive, FSCTL_UNLOCK_VOLUME}));
    EXPECT_EQ(m_log.requests[3], (std::vector<std::uint8_t>{2, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(spti.ClaimDrive("E"), "E: the drive cannot be opened");
}

TEST_F(Spti, AnotherProgramsLockOrOpenFilesRefuseTheClaimAndNothingStaysLocked) {
    std::vector<int> waits;
    SetSleepHandler([&](int ms) { waits.push_back(ms); });
    clsSPTI& spti = Transport();
    System().heldElsewhere = true;
    EXPECT_EQ(spti.ClaimDrive("D"), ExclusiveAccess::kInUse);
    EXPECT_EQ(m_log.codes.size(), 1u);  // asked, nothing locked
    System().heldElsewhere = false;
    System().lockErrors[FSCTL_LOCK_VOLUME] = {ERROR_ACCESS_DENIED};
    EXPECT_EQ(spti.ClaimDrive("D"), ExclusiveAccess::kInUse);
    EXPECT_EQ(waits, std::vector<int>(19, 250));  // Explorer is given about five seconds
    System().lockErrors[FSCTL_LOCK_VOLUME] = {ERROR_SHARING_VIOLATION, 0};
    System().lockErrors[kLock] = {ERROR_ACCESS_DENIED};
    m_log.codes.clear();
    EXPECT_EQ(spti.ClaimDrive("D"), ExclusiveAccess::kInUse);
    EXPECT_EQ(m_log.codes,
              (std::vector<std::uint32_t>{kExclusive, FSCTL_LOCK_VOLUME, FSCTL_LOCK_VOLUME,
                                          kExclusive, FSCTL_UNLOCK_VOLUME}));
    System().lockErrors[kLock] = {0};
    EXPECT_EQ(spti.ClaimDrive("D"), "");  // the failed claims left no count behind
    m_log.codes.clear();
    spti.ReleaseDrive("D");
    EXPECT_EQ(m_log.codes.size(), 2u);
    SetSleepHandler({});
}

TEST_F(Spti, LocksTheSystemDoesNotOfferAreDoneWithout) {
    clsSPTI& spti = Transport();
    System().lockErrors[kQuery] = {ERROR_INVALID_FUNCTION};
    System().lockErrors[kLock] = {ERROR_INVALID_FUNCTION};
    System().lockErrors[FSCTL_LOCK_VOLUME] = {ERROR_NOT_READY};  // no disc yet
    EXPECT_EQ(spti.ClaimDrive("D"), "");
    m_log.codes.clear();
    spti.ReleaseDrive("D");
    EXPECT_TRUE(m_log.codes.empty());  // nothing was held, nothing to give back
}

TEST_F(Spti, OlderSystemsOpenTheDrivesReadOnlyAndNoDriveIsNotInstalled) {
    Transport("D");
    System().nt5 = false;
    EXPECT_TRUE(m_spti->Installed());
    EXPECT_EQ(m_log.accesses, (std::vector<std::uint32_t>{0x80000000}));
    EXPECT_FALSE(Transport("").Installed());
}
}  // namespace
