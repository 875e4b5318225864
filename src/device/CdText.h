#pragma once

#include <string>
#include <vector>

// The CD-TEXT of an audio CD in the program's own terms (UTF-8): the texts
// of the disc and of each track, its catalogue number (MCN) and the tracks'
// ISRCs. What a burn sends and what a disc read back holds.
struct CdText {
    struct Texts {
        std::string title, performer, songwriter;
        bool operator==(const Texts&) const = default;
    };
    Texts disc;
    std::vector<Texts> tracks;  // track 1 first

    bool Empty() const;
    bool operator==(const CdText&) const = default;
};
