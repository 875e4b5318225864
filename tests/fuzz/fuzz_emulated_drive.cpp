// libFuzzer target: random command streams into the virtual drive's ExecCMD.
// Input: byte 0 picks the medium and a few faults; then commands of the form
// [CDB length % 20][CDB bytes][direction][buffer length, 2 bytes big-endian]
// [data-out bytes].
// Buffers are allocated at exactly the stated length, so AddressSanitizer
// catches any access beyond what the caller handed over.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "clsEmulatedDrive.h"

namespace {
// One drive for the whole run, its medium in memory: nothing touches the disk,
// so many more inputs run in the same time.
struct FuzzDrive {
    clsEmulatedDrive transport{EmuDrive::InMemory()};
    FuzzDrive() { transport.SetCommandLogLimit(16); }
};

clsEmulatedDrive& Drive() {
    static FuzzDrive drive;
    return drive.transport;
}

// The input read from the front; past its end it gives zeros.
struct Input {
    const std::uint8_t* data;
    std::size_t size, at = 0;
    bool Empty() const { return at >= size; }
    std::uint8_t Byte() { return at < size ? data[at++] : 0; }
    std::size_t Take(std::uint8_t* out, std::size_t count) {
        const std::size_t taken = std::min(count, size - std::min(at, size));
        std::copy_n(data + at, taken, out);
        at += taken;
        return taken;
    }
};

void Prepare(clsEmulatedDrive& transport, std::uint8_t setup) {
    EmuDrive& drive = transport.Drive(0);
    drive.Faults() = EmuFaults{};
    const auto kind = static_cast<MediumKind>(setup % 9);
    if (TraitsOf(kind).recordable)
        (void)drive.InsertBlank(kind);
    else
        (void)drive.RemoveMedium();
    drive.SetTrayOpen((setup & 0x10) != 0);
    if ((setup & 0x20) != 0) drive.Faults().notReadyCommands = 1;
    if ((setup & 0x40) != 0) drive.Faults().removeMediumAfterWrites = 2;
    if ((setup & 0x80) != 0) drive.Faults().unreadable.push_back({16, 20});
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    clsEmulatedDrive& transport = Drive();
    Input input{data, size};
    Prepare(transport, input.Byte());
    for (int commands = 0; commands < 64 && !input.Empty(); ++commands) {
        const std::uint8_t cdbLen = input.Byte() % 20;
        auto cdb = std::make_unique<std::uint8_t[]>(cdbLen);
        input.Take(cdb.get(), cdbLen);
        const std::int32_t direction = input.Byte() & 1;
        const std::size_t high = input.Byte();
        const std::size_t length = high << 8 | input.Byte();
        // Data in needs no filling; data out gets what the input still holds.
        auto buffer = std::make_unique_for_overwrite<std::uint8_t[]>(length);
        if (direction != 0) {
            const std::size_t taken = input.Take(buffer.get(), length);
            std::fill(buffer.get() + taken, buffer.get() + length, std::uint8_t{0});
        }
        std::int32_t timeout = 5;
        (void)transport.ExecCMD("virtual0", cdbLen ? cdb.get() : nullptr, cdbLen, direction,
                                length ? buffer.get() : nullptr, static_cast<std::int32_t>(length),
                                timeout);
    }
    return 0;
}
