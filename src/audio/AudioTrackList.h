#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "AlbumTags.h"
#include "AudioFileFacts.h"
#include "AudioTags.h"

// One row of the audio track list.
struct AudioTrack {
    std::string path;
    AudioFileFacts facts;
    // Disc-At-Once: seconds of silence before the track (not the first one's).
    std::int32_t pauseSeconds = 2;
    // The file's tags; title and performer as the user edited them.
    AudioTags tags;
};

// The tracks of an audio CD in recording order, with the rules of the list:
// which files it takes (InspectAudioFile), renames that must name such a
// file, removals, moves, and the totals the window shows. Has no widgets:
// the audio window mirrors it.
class AudioTrackList {
  public:
    // Blocks (1/75 s) of an 80-minute CD, and of the pause before tracks 2, 3 ...
    static constexpr std::int64_t kCdBlocks = 80 * 60 * 75;
    static constexpr std::int64_t kPauseBlocks = 150;

    // Appends the accepted files in the order given; returns the refused
    // ones, each with the reason in its facts.
    std::vector<AudioTrack> Add(const std::vector<std::string>& paths);
    // Row `row` names `path` from now on, when that is an accepted file; its
    // facts are read again. Otherwise nothing changes and false is returned.
    bool Rename(std::size_t row, const std::string& path);
    // Removes the rows given (in any order); the others keep their order.
    void Remove(const std::vector<std::size_t>& rows);
    void Clear() { m_tracks.clear(); }
    // Moves the rows given, in their list order, in front of the row that is
    // at `before` now (the end for Size()). Returns the new index of the
    // first moved row.
    std::size_t Move(const std::vector<std::size_t>& rows, std::size_t before);

    const std::vector<AudioTrack>& Tracks() const { return m_tracks; }
    std::size_t Size() const { return m_tracks.size(); }
    std::vector<std::string> Paths() const;
    // Row `row` gets a pause of `seconds` before it (0..10); false otherwise.
    bool SetPause(std::size_t row, std::int32_t seconds);
    // Row `row`'s CD-TEXT title or performer from now on (trimmed).
    void SetTitle(std::size_t row, const std::string& title);
    void SetPerformer(std::size_t row, const std::string& performer);
    // The CD-TEXT, catalogue number and ISRCs of the tracks' tags (AlbumTags).
    AlbumTags Album() const;
    // The pause of each row, in seconds.
    std::vector<std::int32_t> PauseSeconds() const;
    // Bytes of sound of all tracks.
    std::int64_t TotalBytes() const;
    // Blocks the tracks take on a CD: Track At Once each track's sectors,
    // sent in blocks of 8 and at least 300 (4 s, the drive pads shorter
    // ones), plus the 2-second pause in front of every track after the
    // first; Disc-At-Once the sound as one stream with the chosen pauses.
    std::int64_t DiscBlocks(bool discAtOnce = false) const;

  private:
    std::vector<AudioTrack> m_tracks;
};
