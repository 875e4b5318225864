// The recording engines on the virtual drive: a 700 MB image burned onto a
// blank CD-R and copied back from the recorded disc, each against the
// drive's raw throughput for the same commands (WRITE(10) of 16 blocks for
// the burn; READ(10) of 1 and of 32 blocks for the copy, which reads 32 per
// command and falls back to 1). The difference is the engines' own cost:
// image file I/O, progress, message texts. Target: within 10 % of the raw
// figures. CopyDisc/1 is the sector-by-sector copy, CopyDisc/32 the fast
// one; "reads" counts their READ(10) commands per 700 MB.
//   build/release/bin/recording_bench --benchmark_min_time=1
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "DiscCopier.h"
#include "EngineReporter.h"
#include "ImageBurner.h"
#include "TransportSlot.h"
#include "clsEmulatedDrive.h"
#include "modMMC.h"

namespace fs = std::filesystem;

namespace {
constexpr std::int64_t kImageBlocks = 358400;  // 700 MiB, fits an 80-minute CD-R
constexpr std::int64_t kImageBytes = kImageBlocks * 2048;

class SilentReporter : public EngineReporter {
  public:
    void PhaseText(const std::string&) override {}
    void PercentText(const std::string&) override {}
    void ElapsedText(const std::string&) override {}
    void Progress(int) override {}
    MessageAnswer Message(const std::string&, const std::string&, MessageIcon,
                          MessageButtons) override {
        return MessageAnswer::Ok;
    }
};

// A folder with a 700 MB image and a virtual drive in the transport slot.
class BenchSetup {
  public:
    BenchSetup() : m_folder(fs::temp_directory_path() / "maple-recording-bench") {
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
        WriteImage();
        (void)EmuDrive::CreateFolder(Drive());
        auto transport = std::make_unique<clsEmulatedDrive>(std::vector<std::string>{Drive()});
        transport->SetCommandLogLimit(0);
        m_drive = &transport->Drive(0);
        m_transport = transport.get();
        SetTransport(std::move(transport));
    }
    ~BenchSetup() {
        TakeTransport().reset();
        fs::remove_all(m_folder);
    }
    std::string Image() const { return (m_folder / "image.iso").string(); }
    std::string Copy() const { return (m_folder / "copy.iso").string(); }
    std::string Drive() const { return (m_folder / "drive").string(); }
    EmuDrive& Emu() { return *m_drive; }
    clsEmulatedDrive& Log() { return *m_transport; }

    // The raw commands, through the same command operations the engines use.
    std::int32_t Write(std::uint32_t lba, std::uint16_t blocks, std::vector<std::uint8_t>& data) {
        return modMMC::Write10("virtual0", lba, blocks, data.data(), blocks * 2048);
    }
    std::int32_t Read(std::uint32_t lba, std::uint16_t blocks, std::vector<std::uint8_t>& data) {
        return modMMC::Read10("virtual0", lba, blocks, data.data(), blocks * 2048);
    }

  private:
    void WriteImage() {
        std::ofstream out(Image(), std::ios::binary);
        std::vector<char> chunk(1 << 20);
        std::mt19937 random(1);
        for (char& c : chunk) c = static_cast<char>(random());
        for (std::int64_t written = 0; written < kImageBytes; written += chunk.size()) {
            if (written == 0) PutVolumeDescriptor(chunk.data() + 16 * 2048);
            out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
            if (written == 0) chunk[16 * 2048] = 0x55;
        }
    }
    // The copy reads as many sectors as the volume holds, as on a real data disc.
    static void PutVolumeDescriptor(char* sector) {
        sector[0] = 1;
        std::memcpy(sector + 1, "CD001", 5);
        sector[6] = 1;
        for (int i = 0; i < 4; ++i) {
            sector[80 + i] = static_cast<char>(kImageBlocks >> (8 * i));
            sector[87 - i] = static_cast<char>(kImageBlocks >> (8 * i));
        }
    }

    fs::path m_folder;
    EmuDrive* m_drive = nullptr;
    clsEmulatedDrive* m_transport = nullptr;
};

BenchSetup& Setup() {
    static BenchSetup setup;
    return setup;
}

void Report(benchmark::State& state) {
    state.SetBytesProcessed(state.iterations() * kImageBytes);
}

void RawWrite16(benchmark::State& state) {
    std::vector<std::uint8_t> chunk(32768, 0x5A);
    for (auto _ : state) {
        state.PauseTiming();
        (void)Setup().Emu().InsertBlank(MediumKind::CdR);
        state.ResumeTiming();
        for (std::uint32_t lba = 0; lba < kImageBlocks; lba += 16)
            if (Setup().Write(lba, 16, chunk) != 0) state.SkipWithError("WRITE failed");
    }
    Report(state);
}

// The same writes fed from the image file: the I/O no recording can avoid.
void RawWrite16FromFile(benchmark::State& state) {
    std::vector<std::uint8_t> chunk(32768);
    for (auto _ : state) {
        state.PauseTiming();
        (void)Setup().Emu().InsertBlank(MediumKind::CdR);
        state.ResumeTiming();
        const int fd = ::open(Setup().Image().c_str(), O_RDONLY);
        for (std::uint32_t lba = 0; lba < kImageBlocks; lba += 16) {
            if (::read(fd, chunk.data(), chunk.size()) != 32768) state.SkipWithError("read failed");
            if (Setup().Write(lba, 16, chunk) != 0) state.SkipWithError("WRITE failed");
        }
        ::close(fd);
    }
    Report(state);
}

void BurnImage(benchmark::State& state) {
    SilentReporter reporter;
    BurnOptions options;
    options.imagePath = Setup().Image();
    options.ejectDisc = false;
    for (auto _ : state) {
        state.PauseTiming();
        (void)Setup().Emu().InsertBlank(MediumKind::CdR);
        state.ResumeTiming();
        if (ImageBurner(reporter, options).Burn("virtual0") != BurnOutcome::Completed) {
            state.SkipWithError("burn failed");
            break;
        }
    }
    Report(state);
}

// The disc the copies read: the 700 MB image as the program records it.
void InsertRecordedDisc() {
    (void)Setup().Emu().InsertImage(MediumKind::CdR, Setup().Image());
}

void RawRead(benchmark::State& state) {
    const auto blocks = static_cast<std::uint16_t>(state.range(0));
    std::vector<std::uint8_t> buffer(blocks * 2048);
    InsertRecordedDisc();
    for (auto _ : state)
        for (std::uint32_t lba = 0; lba < kImageBlocks; lba += blocks)
            if (Setup().Read(lba, blocks, buffer) != 0) state.SkipWithError("READ failed");
    Report(state);
}

// One-block reads appended to a file through a 1 MiB buffer: the I/O no
// copy can avoid.
void RawRead1ToFile(benchmark::State& state) {
    std::vector<std::uint8_t> sector(2048), buffer;
    buffer.reserve(1 << 20);
    InsertRecordedDisc();
    for (auto _ : state) {
        const int fd = ::open(Setup().Copy().c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        for (std::uint32_t lba = 0; lba < kImageBlocks; ++lba) {
            if (Setup().Read(lba, 1, sector) != 0) state.SkipWithError("READ failed");
            buffer.insert(buffer.end(), sector.begin(), sector.end());
            if (buffer.size() == buffer.capacity()) {
                if (::write(fd, buffer.data(), buffer.size()) < 0) state.SkipWithError("write");
                buffer.clear();
            }
        }
        if (::write(fd, buffer.data(), buffer.size()) < 0) state.SkipWithError("write");
        buffer.clear();
        ::close(fd);
        state.PauseTiming();
        fs::remove(Setup().Copy());
        state.ResumeTiming();
    }
    Report(state);
}

// Copies the disc; the last, untimed copy runs with the command log on to
// count the READ(10) commands.
void CopyDisc(benchmark::State& state) {
    SilentReporter reporter;
    InsertRecordedDisc();
    const CopyOptions options{true, false, DefaultSpeedEntry(), static_cast<int>(state.range(0))};
    for (auto _ : state) {
        DiscCopier copier(reporter, options);
        if (!copier.CopyDiscToImage("virtual0", Setup().Copy())) state.SkipWithError("copy failed");
        state.PauseTiming();
        fs::remove(Setup().Copy());
        state.ResumeTiming();
    }
    Setup().Log().SetCommandLogLimit(kImageBlocks + 100);
    Setup().Log().ClearCommandLog();
    (void)DiscCopier(reporter, options).CopyDiscToImage("virtual0", Setup().Copy());
    const auto opcodes = Setup().Log().LoggedOpcodes();
    state.counters["reads"] = static_cast<double>(std::count(opcodes.begin(), opcodes.end(), 0x28));
    Setup().Log().SetCommandLogLimit(0);
    fs::remove(Setup().Copy());
    Report(state);
}
}  // namespace

BENCHMARK(RawWrite16)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(RawWrite16FromFile)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BurnImage)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(RawRead)->Arg(1)->Arg(32)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(RawRead1ToFile)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(CopyDisc)->Arg(1)->Arg(32)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK_MAIN();
