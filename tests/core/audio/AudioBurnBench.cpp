#include "AudioBurnBench.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "AudioTestSignals.h"
#include "DriveBusy.h"
#include "ProgramPaths.h"
#include "Sleeper.h"
#include "TransportSlot.h"
#include "WaveFileLayout.h"
#include "clsEmulatedDrive.h"

namespace fs = std::filesystem;

namespace {
// The program decides its temp folder once per run: point it at a folder of
// this test run before anything asks.
const fs::path& RunFolder() {
    static const fs::path folder = [] {
        const fs::path base =
            fs::temp_directory_path() / ("maple-audio-tests-" + std::to_string(::getpid()));
        fs::create_directories(base / "temp");
        ::setenv("MAPLE_TEMP_DIR", (base / "temp").c_str(), 1);
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

void AudioReporter::PhaseText(const std::string& text) {
    ScriptedReporter::PhaseText(text);
    events.push_back("phase:" + text);
    if (onPhase) onPhase(text);
}

MessageAnswer AudioReporter::Message(const std::string& text, const std::string& title,
                                     MessageIcon icon, MessageButtons buttons) {
    events.push_back("message:" + title + "|" + text);
    return ScriptedReporter::Message(text, title, icon, buttons);
}

void AudioReporter::PumpEvents() {
    ScriptedReporter::PumpEvents();
    busyWhilePumping = busyWhilePumping && IsDriveBusy();
    if (onPump) onPump();
}

AudioBurnBench::AudioBurnBench() {
    (void)g_decided;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(RunFolder() / "temp", error))
        fs::remove_all(entry.path(), error);
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

AudioBurnBench::~AudioBurnBench() {
    SetSleepHandler({});
    TakeTransport().reset();
}

EmuDrive& AudioBurnBench::Drive() {
    return m_transport->Drive(0);
}

std::string AudioBurnBench::Put(const std::string& name, const std::string& bytes) {
    const std::string path = m_folder.File(name);
    WriteFile(path, bytes);
    return path;
}

std::string AudioBurnBench::PutCdda(const std::string& name, std::size_t bytes, int seed) {
    std::string data(bytes, '\0');
    for (std::size_t i = 0; i < bytes; ++i) data[i] = static_cast<char>(i * 7 + seed * 13 + 1);
    return Put(name, AudioTest::SimpleWave(WavFormat::Cdda(), data));
}

std::string AudioBurnBench::TempTrack() {
    return TempWavePath();
}

AudioBurnOutcome AudioBurnBench::Start(const std::vector<std::string>& tracks,
                                       AudioBurnOptions options) {
    AudioBurnEngine engine(reporter, options, LanguageTexts("frmWriteCDDA", ""));
    engine.SetTrackCounterHandler([this](const std::string& text) { counters.push_back(text); });
    return engine.StartAudioBurn(m_id, tracks);
}

std::vector<std::pair<std::uint32_t, std::uint16_t>> AudioBurnBench::Writes() {
    std::vector<std::pair<std::uint32_t, std::uint16_t>> writes;
    for (const auto& cdb : Cdbs(0x2A))
        writes.emplace_back(std::uint32_t(cdb[2]) << 24 | cdb[3] << 16 | cdb[4] << 8 | cdb[5],
                            static_cast<std::uint16_t>(cdb[7] << 8 | cdb[8]));
    return writes;
}

std::vector<std::uint8_t> AudioBurnBench::Opcodes() {
    return m_transport->LoggedOpcodes();
}

std::size_t AudioBurnBench::Count(std::uint8_t opcode) {
    const auto opcodes = Opcodes();
    return static_cast<std::size_t>(std::count(opcodes.begin(), opcodes.end(), opcode));
}

std::vector<std::vector<std::uint8_t>> AudioBurnBench::Cdbs(std::uint8_t opcode) {
    std::vector<std::vector<std::uint8_t>> cdbs;
    for (const auto& entry : m_transport->CommandLog())
        if (entry.Opcode() == opcode) cdbs.push_back(entry.cdb);
    return cdbs;
}

std::string AudioBurnBench::Track(int number) {
    std::vector<std::uint8_t> bytes;
    if (!Drive().ReadTrack(number, bytes)) return {};
    return {bytes.begin(), bytes.end()};
}

std::string CddaData(const std::string& path) {
    const WaveFileLayout layout = ReadWaveFileLayout(path);
    if (!layout.Ok()) return {};
    return ReadFile(path).substr(layout.dataOffset, layout.dataSize);
}

std::string RecordedDifference(const std::string& recorded, const std::string& sound) {
    if (recorded.size() < sound.size())
        return "recorded " + std::to_string(recorded.size()) + " bytes, sound has " +
               std::to_string(sound.size());
    const auto mismatch = std::mismatch(sound.begin(), sound.end(), recorded.begin());
    if (mismatch.first != sound.end())
        return "first difference at byte " + std::to_string(mismatch.first - sound.begin());
    const auto noise = std::find_if(recorded.begin() + static_cast<std::ptrdiff_t>(sound.size()),
                                    recorded.end(), [](char c) { return c != '\0'; });
    if (noise != recorded.end())
        return "non-zero byte after the sound at " + std::to_string(noise - recorded.begin());
    return {};
}
