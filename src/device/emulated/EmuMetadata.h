#pragma once

#include <string>

#include "EmuFaults.h"
#include "EmuMedia.h"

// What a drive folder's metadata file ("drive.meta") keeps: the tray, the
// medium with its sessions and tracks, and the injected faults. A small text
// file, one item per line:
//
//   maple-virtual-drive 1
//   tray closed
//   medium cd-r
//   capacity 359849
//   sessions 1 finalized
//   track 1 session 1 data start 0 length 1000 run-out 2 closed
//   isrc 1 DEA123456789
//   catalogue 4006381333931
//   cd-text 8000000048656C6C6F00...   (the lead-in's CD-TEXT packs in hexadecimal)
//   fault long-write 3
//   inserted 2
struct EmuMetadata {
    bool trayOpen = false;
    EmuMedia media;
    EmuFaults faults;
    // Discs put in so far ('virtual insert'; the line is left out while 0):
    // a drive open in another program tells a disc swapped for an equal
    // one by it.
    std::int64_t inserted = 0;

    // The file's text.
    std::string Format() const;
    // Reads a file's text into `out`. Returns an empty text, or "line N: why"
    // for the first line that is malformed or a layout that cannot exist
    // (overlapping tracks, tracks past the capacity ...).
    static std::string Parse(const std::string& text, EmuMetadata& out);
};
