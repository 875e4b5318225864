// The virtual drive when its own files fail it: a state file that cannot be
// saved fails the command (04/44/00) and leaves the drive as the folder says,
// a WRITE whose data cannot be stored answers 03/0C/00 and leaves no track,
// and a command whose lock cannot be taken answers 02/04/00 without running.
// The files are made to fail by swapping the drive's own descriptors.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

#include "EmuDrive.h"
#include "TestEnvironment.h"

namespace fs = std::filesystem;

namespace {
// The descriptor of this process open on `path`; -1 when there is none.
int DescriptorOf(const fs::path& path) {
    for (const auto& entry : fs::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        if (fs::read_symlink(entry.path(), error) == path)
            return std::stoi(entry.path().filename().string());
    }
    return -1;
}

// `descriptor` open on `path` read-only from now on: writes through it fail.
void MakeReadOnly(int descriptor, const fs::path& path) {
    const int readOnly = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(readOnly, 0);
    ASSERT_EQ(::dup2(readOnly, descriptor), descriptor);
    ::close(readOnly);
}

EmuOutcome Send(EmuDrive& drive, std::vector<std::uint8_t> cdb,
                std::vector<std::uint8_t> data = {}) {
    EmuCommand command;
    command.cdb = cdb.data();
    command.cdbLen = static_cast<std::uint8_t>(cdb.size());
    command.dataOut = data.data();
    command.dataOutLen = static_cast<std::int32_t>(data.size());
    return drive.Execute(command);
}

const std::vector<std::uint8_t> kEject = {0x1B, 0, 0, 0, 0x02, 0};
const std::vector<std::uint8_t> kWriteOneBlock = {0x2A, 0, 0, 0, 0, 0, 0, 0, 1, 0};
}  // namespace

TEST(EmuDriveFailures, ASaveOrAStoreThatFailsFailsTheCommandAndALockThatFailsRunsNothing) {
    const TempFolder folder;
    const fs::path dir = folder.Path() / "drive";
    ASSERT_EQ(EmuDrive::CreateFolder(dir.string()), "");
    std::string error;
    std::unique_ptr<EmuDrive> drive = EmuDrive::Open(dir.string(), error);
    ASSERT_NE(drive, nullptr) << error;
    ASSERT_EQ(drive->InsertBlank(MediumKind::CdR), "");
    const std::string saved = ReadFile((dir / "drive.meta").string());

    // The state file cannot be written (a folder stands where its new copy goes).
    fs::create_directory(dir / "drive.meta.part");
    EXPECT_EQ(Send(*drive, kEject), EmuSense::kInternalTargetFailure);
    EXPECT_FALSE(drive->TrayOpen());
    EXPECT_EQ(ReadFile((dir / "drive.meta").string()), saved);
    fs::remove(dir / "drive.meta.part");

    // The data cannot be stored: 03/0C/00, and no empty track is left.
    const int data = DescriptorOf(dir / "medium.data");
    ASSERT_GE(data, 0);
    MakeReadOnly(data, dir / "medium.data");
    EXPECT_EQ(Send(*drive, kWriteOneBlock, std::vector<std::uint8_t>(2048, 7)),
              EmuSense::kWriteError);
    EXPECT_TRUE(drive->Media().tracks.empty());

    // The state lock cannot be taken: nothing runs.
    const int state = DescriptorOf(dir / "state.lock");
    ASSERT_GE(state, 0);
    ASSERT_EQ(::close(state), 0);
    EXPECT_EQ(Send(*drive, kEject), EmuSense::kNotReadyCauseNotReportable);
    EXPECT_FALSE(drive->TrayOpen());
    const int stand = ::open("/dev/null", O_RDONLY | O_CLOEXEC);  // for the drive to close
    ASSERT_EQ(::dup2(stand, state), state);
    ::close(stand);
    drive.reset();
    EXPECT_EQ(ReadFile((dir / "drive.meta").string()), saved);
}
