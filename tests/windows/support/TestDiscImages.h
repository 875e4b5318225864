#pragma once

#include <string>

class EmuDrive;
class VirtualDriveSession;

// A file of `blocks` 2048-byte blocks that a reader takes for an ISO 9660
// image (a primary volume descriptor of that size at sector 16) and that
// otherwise holds a pattern in which a shifted or missing block shows.
void WriteTestImage(const std::string& path, int blocks);

// True when the first track on the disc in `drive`, as `maple-cli virtual
// export` writes it, equals `image` over the image's length (the track may run
// on with padding).
bool DiscHoldsImage(const EmuDrive& drive, const std::string& image);

// Records a data session holding "a.txt" (built in `folder`) on the blank
// disc in drive 0 of `drives`, as the first track, and leaves the disc
// appendable; false when the drive refused a step.
bool RecordOpenSession(VirtualDriveSession& drives, const std::string& folder);
