#include "AlbumTags.h"

#include <algorithm>

namespace {
std::string FirstOf(const std::vector<AudioTags>& tracks, std::string AudioTags::*field) {
    for (const AudioTags& track : tracks)
        if (!(track.*field).empty()) return track.*field;
    return {};
}
}  // namespace

AlbumTags AlbumTags::Of(const std::vector<AudioTags>& tracks) {
    AlbumTags album;
    album.text.disc.title = FirstOf(tracks, &AudioTags::album);
    album.text.disc.performer = FirstOf(tracks, &AudioTags::albumPerformer);
    const bool shared =
        !tracks.empty() && std::all_of(tracks.begin(), tracks.end(), [&](const AudioTags& track) {
            return track.performer == tracks.front().performer;
        });
    if (album.text.disc.performer.empty() && shared)
        album.text.disc.performer = tracks.front().performer;
    album.catalogue = FirstOf(tracks, &AudioTags::catalogue);
    album.text.tracks.reserve(tracks.size());
    album.isrcs.reserve(tracks.size());
    for (const AudioTags& track : tracks) {
        album.text.tracks.push_back({track.title, track.performer, track.songwriter});
        album.isrcs.push_back(track.isrc);
    }
    return album;
}
