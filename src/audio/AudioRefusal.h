#pragma once

// Why a sound file cannot become an audio track: the kind of file, or what
// is wrong with this one.
enum class AudioRefusal {
    None,
    NotSound,    // not a kind or format of sound the converter reads
    Missing,     // not found, or not a regular file
    Unreadable,  // cannot be read, or its length cannot be told
    CutShort,    // it ends before the sound it announces
    Silent,      // it holds no sound
};
