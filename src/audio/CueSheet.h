#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "CdText.h"

// A cue sheet as read (CueSheetReader): the files it names, its tracks with
// their index points, gaps and flags, the catalogue number, ISRCs and the
// CD-TEXT. The files play one after the other, each padded to a whole
// sector; an index point is a sector of one of them (1/75 s), so a track
// may begin in one file and go on in the next. `line` is the line of the
// sheet that gave each item, so later checks name it.
struct CueSheet {
    static constexpr std::int64_t kAudioSectorBytes = 2352;

    enum class FileType { Binary, Motorola, Wave };
    enum class TrackType { Audio, Mode1Cooked, Mode1Raw };  // MODE1/2048, MODE1/2352

    struct File {
        std::string path;  // as the sheet names it, resolved against the sheet's folder
        FileType type = FileType::Binary;
        int line = 0;
    };
    struct Index {
        int number = 1;
        std::size_t file = 0;     // into `files`: the FILE before the INDEX line
        std::int64_t sector = 0;  // in that file
        int line = 0;
    };
    struct Track {
        int number = 1;
        TrackType type = TrackType::Audio;
        std::size_t file = 0;  // into `files`: the FILE before the TRACK line
        int line = 0;
        std::vector<Index> indexes;            // in order: 0 (optional), 1, 2 ...
        std::int64_t pregap = 0, postgap = 0;  // sectors of silence (PREGAP, POSTGAP)
        int pregapLine = 0;
        bool copyPermitted = false, preEmphasis = false;  // FLAGS DCP, PRE
        std::string isrc;
        CdText::Texts texts;

        // Index 1 (every track has one).
        const Index& Start() const;
        // Where the track's sound begins: index 0 if it has one, else index 1.
        const Index& First() const { return indexes.front(); }
        // Bytes a sector of this track takes in its file.
        std::int64_t SectorBytes() const { return type == TrackType::Mode1Cooked ? 2048 : 2352; }
    };

    std::string catalogue;
    CdText::Texts disc;
    std::vector<File> files;
    std::vector<Track> tracks;

    bool IsAudio() const { return !tracks.empty() && tracks.front().type == TrackType::Audio; }
    // The CD-TEXT of the disc and of every track (empty when none is given).
    CdText Texts() const;
};
