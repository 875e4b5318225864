#pragma once

#include <cstdint>
#include <string>

// The sectors a disc copy reads, from LBA 0, and how they were found:
// - Volume: sector 16 holds an ISO 9660 primary volume descriptor; its
//   volume space size, or the end of the partitions a hybrid image appends
//   after it (see DeclaredVolumeBlocks), whichever is larger;
// - Track: no ISO 9660 volume on sequential media: the data track's length
//   as READ TRACK INFORMATION gives it (READ TOC when that fails); on CD its
//   last two sectors may be the unreadable run-out of a Track At Once
//   recording, which the copy leaves out instead of calling them damage;
// - WholeMedium: no ISO 9660 volume on overwritable media (DVD+RW, DVD-RAM,
//   BD-RE): every block of the formatted medium.
// A disc of several sessions is not read sector by sector: `lastSession`
// tells where its last session starts, whose view the copy takes. A session
// holding several tracks with recorded data is not copied (the empty track an
// appendable disc keeps open does not count); `refusal` then says so.
struct CopyExtent {
    enum class Rule { Volume, Track, WholeMedium };
    Rule rule = Rule::Volume;
    std::int64_t sectors = 0;       // to read, the run-out tail included
    std::int64_t runOutTail = 0;    // last sectors left out when they cannot be read
    std::string refusal;            // why the disc is not copied; empty when it is
    std::int64_t lastSession = -1;  // several sessions: the last one's start

    // Looks at the disc in `drive` (ready), whose READ CAPACITY gave `lastLba`
    // (greater than 0). `cd`: the disc is a CD.
    static CopyExtent Of(const std::string& drive, std::int64_t lastLba, bool cd);
};
