#pragma once

#include <string>
#include <vector>

#include "AudioTags.h"
#include "CdText.h"

// What a Disc-At-Once recording takes from its files' tags: the CD-TEXT of
// the disc and each track, the catalogue number and the ISRCs. The album's
// title is the first album tag; its performer the first album-artist tag,
// else the performer every track shares; the catalogue number the first one.
struct AlbumTags {
    CdText text;
    std::string catalogue;
    std::vector<std::string> isrcs;  // by track; empty for none

    static AlbumTags Of(const std::vector<AudioTags>& tracks);
};
