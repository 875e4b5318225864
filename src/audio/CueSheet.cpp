#include "CueSheet.h"

const CueSheet::Index& CueSheet::Track::Start() const {
    for (const Index& index : indexes)
        if (index.number == 1) return index;
    return First();
}

CdText CueSheet::Texts() const {
    CdText text;
    text.disc = disc;
    for (const Track& track : tracks) text.tracks.push_back(track.texts);
    return text;
}
