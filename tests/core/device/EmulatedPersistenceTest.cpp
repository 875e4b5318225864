// A virtual drive folder survives restarts, refuses damaged metadata with a
// clear reason (leaving the data file alone), keeps its scripted faults, and
// hands its tracks out; the program chooses it from named folders.
#include <gtest/gtest.h>

#include <filesystem>

#include "TransportFactory.h"
#include "VirtualDriveSession.h"

namespace {

constexpr const char* kCdHeader =
    "maple-virtual-drive 1\ntray closed\nmedium cd-r\ncapacity 359849\n";

TEST(EmulatedPersistenceTest, AnOpenTrackCanBeContinuedInTheNextRun) {
    VirtualDriveSession bench;
    bench.Insert(MediumKind::CdR);
    ASSERT_EQ(bench.WriteDataTrack(0, 64), 0);
    bench.Reopen();
    EXPECT_EQ(Be32(bench.TrackInformation(1, 1), 12), 64u);
    EXPECT_EQ(bench.WriteDataTrack(64, 16), 0);
}

TEST(EmulatedPersistenceTest, ADiscAnotherProgramPutsInIsTakenAtTheNextCommand) {
    VirtualDriveSession bench;
    bench.Insert(MediumKind::CdR, 40);
    // maple-cli virtual insert while the program holds the drive
    const auto insertElsewhere = [&bench](MediumKind kind) {
        std::string error;
        const std::unique_ptr<EmuDrive> other = EmuDrive::Open(bench.Folder(), error);
        ASSERT_NE(other, nullptr) << error;
        ASSERT_EQ(other->InsertBlank(kind), "");
    };
    insertElsewhere(MediumKind::DvdPlusRw);
    bench.Reopen();  // the program's drive did not write its old disc back
    EXPECT_EQ(bench.CurrentProfile(), 0x1A);
    insertElsewhere(MediumKind::CdRw);
    EXPECT_EQ(bench.Exec({0x00, 0, 0, 0, 0, 0}), 2);  // TEST UNIT READY
    EXPECT_EQ(bench.Sense(), "06/28/00");
    EXPECT_EQ(bench.CurrentProfile(), 0x0A);
    // A blank put in for an equal blank (the tray stays closed) is a new
    // disc too: the media event reports it once, the unit attention to the
    // next command.
    insertElsewhere(MediumKind::CdRw);
    std::vector<std::uint8_t> event(8, 0);
    ASSERT_EQ(bench.Exec({0x4A, 1, 0, 0, 0x10, 0, 0, 0, 8, 0, 0, 0}, &event), 0);
    EXPECT_EQ(HexBytes(event), "00 06 04 10 02 02 00 00") << "new media, present";
    ASSERT_EQ(bench.Exec({0x4A, 1, 0, 0, 0x10, 0, 0, 0, 8, 0, 0, 0}, &event), 0);
    EXPECT_EQ(event[4], 0x00) << "reported once";
    EXPECT_EQ(bench.Exec({0x00, 0, 0, 0, 0, 0}), 2);
    EXPECT_EQ(bench.Sense(), "06/28/00");
}

// Opens a folder whose metadata file holds `text`; returns the problem text.
// A first line that is not ours and a second create: cli_virtual_drive.
std::string OpenProblem(VirtualDriveSession& bench, const std::string& text) {
    WriteFile(bench.Folder() + "/medium.data", "precious bytes");
    WriteFile(bench.Folder() + "/drive.meta", text);
    clsEmulatedDrive drive({bench.Folder()});
    EXPECT_FALSE(drive.Installed());
    EXPECT_EQ(drive.DriveCount(), 0);
    EXPECT_EQ(ReadFile(bench.Folder() + "/medium.data"), "precious bytes") << "data file untouched";
    EXPECT_EQ(ReadFile(bench.Folder() + "/drive.meta"), text) << "metadata left for the user";
    return drive.OpenProblem();
}

TEST(EmulatedPersistenceTest, DamagedMetadataIsRefusedWithAReason) {
    const std::pair<std::string, std::string> cases[] = {
        {"", "empty metadata file"},
        {std::string(kCdHeader) + "capacity twelve\n", "line 5: unknown or malformed line"},
        {std::string(kCdHeader) + "medium bluray\n", "line 5: unknown medium 'bluray'"},
        {std::string(kCdHeader) + "track 1 session 1 data start 0 length 10\n",
         "line 5: expected 'track N session S"},
        {std::string(kCdHeader) + "fault long-write -3\n", "line 5: unknown or malformed fault"},
        {std::string(kCdHeader) +
             "sessions 0\ntrack 1 session 1 data start 0 length 400 run-out 2 "
             "closed\ntrack 2 session 1 data start 100 length 10 run-out 0 closed\n",
         "layout: track 2: overlaps another track"},
        {std::string(kCdHeader) + "sessions 0\ntrack 1 session 1 data start 359800 length 400 "
                                  "run-out 0 open\n",
         "layout: track 1: overlaps another track or passes the capacity"},
        {std::string(kCdHeader) + "sessions 1\n", "layout: more closed sessions than sessions"},
        {"maple-virtual-drive 1\nmedium cd-rom\ncapacity 100\nsessions 0\n",
         "layout: a pressed disc must hold a finalized session"},
    };
    for (const auto& [text, reason] : cases) {
        VirtualDriveSession bench;
        const std::string problem = OpenProblem(bench, text);
        EXPECT_NE(
            problem.find("virtual drive " + InFolder(bench.Folder(), "drive.meta") + ": " + reason),
            std::string::npos)
            << problem;
    }
}

TEST(EmulatedPersistenceTest, MissingFoldersAndDataFilesAreNamed) {
    VirtualDriveSession bench(2);
    const std::string nothing = bench.File("nothing-here");
    clsEmulatedDrive none({nothing});
    EXPECT_FALSE(none.Installed());
    EXPECT_NE(none.OpenProblem().find(nothing + ": not a virtual drive folder"), std::string::npos);
    // One good folder among bad ones still gives a drive, and the note names the bad one.
    clsEmulatedDrive mixed({nothing, bench.Folder(1)});
    EXPECT_EQ(mixed.DriveCount(), 1);
    EXPECT_EQ(mixed.DriveHandle(1), "virtual0");
    EXPECT_NE(mixed.OpenProblem().find("nothing-here"), std::string::npos);

    bench.Reopen(std::string(kCdHeader) +
                 "sessions 0\ntrack 1 session 1 data start 0 length 16 run-out 0 open\n");
    bench.Reopen();  // saves the same layout again
    // The same metadata in a folder whose data file is gone.
    const std::string lostFolder = bench.File("lost");
    std::filesystem::create_directory(lostFolder);
    std::filesystem::copy_file(InFolder(bench.Folder(), "drive.meta"),
                               InFolder(lostFolder, "drive.meta"));
    clsEmulatedDrive lost({lostFolder});
    EXPECT_NE(lost.OpenProblem().find("medium.data: missing"), std::string::npos)
        << lost.OpenProblem();
}

// The other fault lines are read by the command-line tests that script them.
TEST(EmulatedPersistenceTest, FaultsScriptedInTheFolderCountDownAcrossRuns) {
    VirtualDriveSession bench;
    bench.Reopen(std::string(kCdHeader) +
                 "sessions 0\nfault long-write 3\nfault set-cd-speed reject\n"
                 "fault fail 5B skip 1 count 2 sense 05 2C 00\n");
    EXPECT_EQ(bench.Drive().Faults().speedRequests, EmuFaults::SpeedRequests::Reject);
    EXPECT_EQ(bench.Write10(0, 16, std::vector<std::uint8_t>(16 * 2048)), 2);
    bench.Reopen();
    EXPECT_EQ(bench.Drive().Faults().longWriteWrites, 2) << "the remaining count was kept";
    const std::string meta = ReadFile(bench.Folder() + "/drive.meta");
    EXPECT_NE(meta.find("fault long-write 2\n"), std::string::npos) << meta;
    EXPECT_NE(meta.find("fault fail 5B skip 1 count 2 sense 05 2C 00\n"), std::string::npos)
        << meta;
}

// A damaged folder's message on the command line: cli_virtual_drive.
TEST(EmulatedPersistenceTest, TheProgramOpensNamedFolders) {
    VirtualDriveSession bench(2);
    TransportOptions options;
    options.virtualDrives = {bench.Folder(0), bench.Folder(1)};
    options.preferVirtual = true;
    TransportChoice choice = CreateTransport(options);
    ASSERT_TRUE(choice.transport) << choice.problem;
    EXPECT_EQ(choice.transport->Interface(), "Virtual");
    EXPECT_EQ(choice.transport->DriveHandle(2), "virtual1");
    EXPECT_EQ(choice.transport->TargetID("virtual1"), 1);
    EXPECT_EQ(choice.problem, "");

    // Folders are separated as in PATH.
#ifdef _WIN32
    ASSERT_EQ(setenv("MAPLE_VIRTUAL_DRIVES", "C:\\a\\one;;D:\\b;", 1), 0);
    EXPECT_EQ(VirtualDrivesFromEnvironment(), (std::vector<std::string>{"C:\\a\\one", "D:\\b"}));
#else
    ASSERT_EQ(setenv("MAPLE_VIRTUAL_DRIVES", "/a/one::/b/two:", 1), 0);
    EXPECT_EQ(VirtualDrivesFromEnvironment(), (std::vector<std::string>{"/a/one", "/b/two"}));
#endif
    ASSERT_EQ(unsetenv("MAPLE_VIRTUAL_DRIVES"), 0);
    EXPECT_TRUE(VirtualDrivesFromEnvironment().empty());
}

// Their contents are copied back and compared by cli_virtual_drive, the
// run-out of a recorded CD (none on a pressed one) counted by DiscCopierTest.
TEST(EmulatedPersistenceTest, FinishedDiscsFromImages) {
    VirtualDriveSession bench;
    std::string image(2048 * 40, '\0');
    for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<char>(i / 2048 + 1);
    WriteFile(bench.File("disc.iso"), image);
    ASSERT_EQ(bench.Drive().InsertImage(MediumKind::DvdPlusRw, bench.File("disc.iso")), "");
    EXPECT_EQ(bench.ReadCapacity(), 2295103) << "the formatted size, whatever is written";
    std::vector<std::uint8_t> block;
    ASSERT_EQ(bench.Read10(16, 1, block), 0);
    EXPECT_EQ(block[0], 17);

    WriteFile(bench.File("odd.iso"), std::string(3000, 'x'));
    EXPECT_NE(bench.Drive().InsertImage(MediumKind::CdRom, bench.File("odd.iso")).find("2048-byte"),
              std::string::npos);
    std::filesystem::resize_file(bench.File("odd.iso"), (359849LL + 1) * 2048);  // sparse
    EXPECT_NE(
        bench.Drive().InsertImage(MediumKind::CdR, bench.File("odd.iso")).find("does not fit"),
        std::string::npos);
    EXPECT_NE(bench.Drive().InsertBlank(MediumKind::DvdRom).find("not a blank medium"),
              std::string::npos);
}

}  // namespace
