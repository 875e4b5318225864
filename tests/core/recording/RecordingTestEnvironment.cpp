#include "RecordingTestEnvironment.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstring>
#include <filesystem>
#include <random>

#include "DriveBusy.h"

#include "ProgramPaths.h"
#include "SettingsStore.h"
#include "Sleeper.h"
#include "TransportSlot.h"
#include "clsEmulatedDrive.h"

namespace fs = std::filesystem;

namespace {
// Decided before the first test asks the program for its folders.
const fs::path& RunFolder() {
    static const fs::path folder = [] {
        const fs::path base =
            fs::temp_directory_path() / ("maple-recording-tests-" + std::to_string(::getpid()));
        fs::create_directories(base / "temp");
        fs::create_directories(base / "config");
        ::setenv("MAPLE_TEMP_DIR", (base / "temp").c_str(), 1);
        ::setenv("MAPLE_CONFIG_DIR", (base / "config").c_str(), 1);
        ::unsetenv("LANGUAGE");
        return base;
    }();
    return folder;
}

struct RunFolderCleanup {
    ~RunFolderCleanup() {
        std::error_code error;
        fs::remove_all(RunFolder(), error);
    }
} g_cleanup;
const bool g_decided = (RunFolder(), true);
}  // namespace

std::string RecordingTempFolder() {
    return TempFolder();
}

void ResetRecordingFolders() {
    for (const char* name : {"temp", "config"}) {
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(RunFolder() / name, error))
            fs::remove_all(entry.path(), error);
    }
}

VirtualDriveBench::VirtualDriveBench() {
    (void)g_decided;
    ResetRecordingFolders();
    const std::string folder = m_folder.File("drive");
    EXPECT_EQ(EmuDrive::CreateFolder(folder), "");
    auto transport = std::make_unique<clsEmulatedDrive>(std::vector<std::string>{folder});
    EXPECT_TRUE(transport->Installed()) << transport->OpenProblem();
    m_transport = transport.get();
    SetTransport(std::move(transport));
    m_id = ::Transport()->DriveHandle(1);
    SetSleepHandler([this](int ms) {
        m_sleptMs += ms;
        ++m_sleeps;
    });
}

VirtualDriveBench::~VirtualDriveBench() {
    SetSleepHandler({});
    TakeTransport().reset();
}

EmuDrive& VirtualDriveBench::Drive() {
    return m_transport->Drive(0);
}

void EventReporter::PhaseText(const std::string& text) {
    ScriptedReporter::PhaseText(text);
    events.push_back("phase:" + text);
}

MessageAnswer EventReporter::Message(const std::string& text, const std::string& title,
                                     MessageIcon icon, MessageButtons buttons) {
    events.push_back("message:" + title + "|" + text);
    commandsAtMessage.push_back(m_drive ? m_drive->CommandLog().size() : 0);
    return ScriptedReporter::Message(text, title, icon, buttons);
}

void EventReporter::PumpEvents() {
    ScriptedReporter::PumpEvents();
    busyWhilePumping = busyWhilePumping && IsDriveBusy();
    if (onPump) onPump();
}

std::string RandomImage(std::size_t bytes, unsigned seed, std::int64_t volumeBlocks) {
    std::mt19937 random(seed);
    std::string image(bytes, '\0');
    for (char& c : image) c = static_cast<char>(random());
    if (image.size() >= 17 * 2048) {
        char* pvd = image.data() + 16 * 2048;
        pvd[0] = volumeBlocks > 0 ? 1 : 0x55;  // a sector that is no descriptor
        if (volumeBlocks > 0) {
            std::memcpy(pvd + 1, "CD001", 5);
            pvd[6] = 1;
            for (int i = 0; i < 4; ++i) {
                pvd[80 + i] = static_cast<char>(volumeBlocks >> (8 * i));
                pvd[87 - i] = static_cast<char>(volumeBlocks >> (8 * i));
            }
        }
    }
    return image;
}
