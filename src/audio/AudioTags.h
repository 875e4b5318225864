#pragma once

#include <string>

// What a sound file's tags say about its track and its album: Vorbis
// comments (FLAC, Ogg), ID3v2 (MP3) and RIFF INFO (WAV) through TagLib.
// Texts are UTF-8; ISRC and catalogue number are kept only in their valid form.
struct AudioTags {
    std::string title, performer, songwriter;
    std::string album, albumPerformer;
    std::string isrc;       // 12 letters and digits (dashes removed)
    std::string catalogue;  // the disc's MCN: 13 digits (a 12-digit UPC gets a leading 0)

    // The tags of `path`; all empty when it has none or cannot be read.
    static AudioTags Read(const std::string& path);

    // Trims the texts and keeps ISRC and catalogue number only when valid
    // (after taking dashes and spaces out of them).
    void Normalise();
};
