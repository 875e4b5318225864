// Throughput of the virtual drive: WRITE(10) and READ(10) of 16-block chunks
// (32 KiB, the size the data recorder sends) through ExecCMD to the backing
// file. Target: at least 500 MB/s each way, so the emulated drive is never
// the bottleneck of a rehearsed burn.
#include <benchmark/benchmark.h>

#include <array>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "clsEmulatedDrive.h"

namespace {
constexpr std::uint16_t kBlocks = 16;
constexpr std::int32_t kChunk = kBlocks * 2048;
// DVD+RW: writes anywhere, so the loop can cycle over a 256 MiB area.
constexpr std::uint32_t kAreaBlocks = 256 * 1024 * 1024 / 2048;

class BenchDrive {
  public:
    explicit BenchDrive(MediumKind kind)
        : m_folder(std::filesystem::temp_directory_path() / "maple-bench-drive") {
        std::filesystem::remove_all(m_folder);
        (void)EmuDrive::CreateFolder(m_folder.string());
        m_transport =
            std::make_unique<clsEmulatedDrive>(std::vector<std::string>{m_folder.string()});
        m_transport->SetCommandLogLimit(0);
        (void)m_transport->Drive(0).InsertBlank(kind);
        // As a recording does: the drive is held, so commands skip the folder's locks.
        (void)m_transport->ClaimDrive("virtual0");
    }
    ~BenchDrive() {
        m_transport->ReleaseDrive("virtual0");
        m_transport.reset();
        std::filesystem::remove_all(m_folder);
    }
    EmuDrive& Drive() { return m_transport->Drive(0); }

    std::int32_t Exec(std::uint8_t opcode, std::uint32_t lba, std::int32_t direction,
                      std::vector<std::uint8_t>& buffer) {
        const std::array<std::uint8_t, 10> cdb{opcode,
                                               0,
                                               std::uint8_t(lba >> 24),
                                               std::uint8_t(lba >> 16),
                                               std::uint8_t(lba >> 8),
                                               std::uint8_t(lba),
                                               0,
                                               0,
                                               kBlocks,
                                               0};
        std::int32_t timeout = 600;
        return m_transport->ExecCMD("virtual0", cdb.data(), 10, direction, buffer.data(), kChunk,
                                    timeout);
    }

  private:
    std::filesystem::path m_folder;
    std::unique_ptr<clsEmulatedDrive> m_transport;
};

void WriteDvdPlusRw(benchmark::State& state) {
    BenchDrive drive(MediumKind::DvdPlusRw);
    std::vector<std::uint8_t> chunk(kChunk, 0x5A);
    std::uint32_t lba = 0;
    for (auto _ : state) {
        if (drive.Exec(0x2A, lba, 1, chunk) != 0) state.SkipWithError("WRITE(10) failed");
        lba = (lba + kBlocks) % kAreaBlocks;
    }
    state.SetBytesProcessed(state.iterations() * kChunk);
}

void ReadDvdPlusRw(benchmark::State& state) {
    BenchDrive drive(MediumKind::DvdPlusRw);
    std::vector<std::uint8_t> chunk(kChunk, 0x5A);
    for (std::uint32_t lba = 0; lba < kAreaBlocks; lba += kBlocks)
        (void)drive.Exec(0x2A, lba, 1, chunk);
    std::uint32_t lba = 0;
    for (auto _ : state) {
        if (drive.Exec(0x28, lba, 0, chunk) != 0) state.SkipWithError("READ(10) failed");
        lba = (lba + kBlocks) % kAreaBlocks;
    }
    state.SetBytesProcessed(state.iterations() * kChunk);
}

// A Track At Once data track on CD-R: every write at the next writable
// address; a full disc is replaced by a blank one outside the timing.
void WriteCdRTrack(benchmark::State& state) {
    BenchDrive drive(MediumKind::CdR);
    std::vector<std::uint8_t> chunk(kChunk, 0xA5);
    std::uint32_t lba = 0;
    for (auto _ : state) {
        if (lba + kBlocks > 359849) {
            state.PauseTiming();
            (void)drive.Drive().InsertBlank(MediumKind::CdR);
            lba = 0;
            state.ResumeTiming();
        }
        if (drive.Exec(0x2A, lba, 1, chunk) != 0) state.SkipWithError("WRITE(10) failed");
        lba += kBlocks;
    }
    state.SetBytesProcessed(state.iterations() * kChunk);
}
}  // namespace

// Wall time: most of the work is the kernel's, which CPU time of the process undercounts.
BENCHMARK(WriteDvdPlusRw)->UseRealTime();
BENCHMARK(ReadDvdPlusRw)->UseRealTime();
BENCHMARK(WriteCdRTrack)->UseRealTime();
BENCHMARK_MAIN();
