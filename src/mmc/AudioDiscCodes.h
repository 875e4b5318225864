#pragma once

#include <string>
#include <vector>

#include "CdTextPacks.h"

// What an audio CD in the drive carries besides its sound, as the drive
// reads it back: the lead-in's CD-TEXT (READ TOC format 0101b), the
// catalogue number and each audio track's ISRC (READ SUB-CHANNEL). Nothing
// for a disc without audio tracks.
struct AudioDiscCodes {
    CdTextPacks::Decoded cdText;
    std::string catalogue;
    std::vector<std::string> isrcs;  // by track from track 1; empty for none (and data tracks)

    static AudioDiscCodes Read(const std::string& drive);
};
