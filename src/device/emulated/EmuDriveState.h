#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "EmuCueSheet.h"
#include "EmuFaults.h"
#include "EmuMedia.h"

// Everything a virtual drive knows besides the recorded blocks: the tray, the
// medium, the settings of this power-on (page 05h, speeds), pending conditions
// and the injected faults. The command handlers read and change it.
struct EmuDriveState {
    EmuMedia media;
    EmuFaults faults;
    bool trayOpen = false;
    std::array<std::uint8_t, 52> writePage{};  // page 05h bytes 0-51 in effect
    std::uint16_t writeSpeed = 0;              // kB/s in effect
    std::uint16_t readSpeed = 0;
    std::uint8_t rotationControl = 0;
    bool removalPrevented = false;  // PREVENT ALLOW MEDIUM REMOVAL: eject refused
    bool unitAttention = false;     // 06/28/00 pending after a load with a medium
    bool newMediaEvent = false;     // GESN "new media" not yet reported
    // While a test write runs, the medium as it was before it: restored when
    // the simulated session ends, so nothing is recorded.
    std::optional<EmuMedia> beforeSimulation;
    std::optional<EmuCueSheet> cueSheet;  // a Session At Once recording under way
    // RESERVE TRACK: the size of the next (or open) track, until it is closed.
    std::optional<std::int64_t> reservedBlocks;
    bool layoutChanged = false;  // the metadata file is behind

    // Puts another medium (or none) in: the speeds of the new medium apply,
    // any test write ends, nothing is pending.
    void ChangeMedium(EmuMedia next);
    // Ends a running test write: the medium returns to what was recorded.
    void EndSimulation();
    // The fastest speeds of the medium (the state after a medium change).
    void ResetSpeeds();

    // Next writable address with the pre-gap the current page asks for.
    std::int64_t NextWritableAddress() const;

    // True when a medium sits in the closed tray.
    bool MediumReady() const { return media.Present() && !trayOpen; }
    // The medium as it is kept on disk (without a running simulation).
    const EmuMedia& RecordedMedia() const { return beforeSimulation ? *beforeSimulation : media; }
};
