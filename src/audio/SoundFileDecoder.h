#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "AudioRefusal.h"
#include "WavFormat.h"

struct sf_private_tag;

// Reads the sound of a FLAC, MP3 or Ogg (Vorbis or Opus) file through
// libsndfile, as PCM frames the CD-DA resampler takes: 16-bit for FLAC of
// up to 16 bits (so a CD-format FLAC is recorded bit for bit), 32-bit for
// deeper FLAC, 32-bit float for the lossy formats.
class SoundFileDecoder {
  public:
    // True when the name ends in ".flac", ".mp3", ".ogg", ".oga" or ".opus"
    // (any case): the files this class is for.
    static bool HandlesName(const std::string& path);

    // Opens `path` and checks it before any of it is converted: the content
    // is of the kind its name says, mono or stereo, at 1 Hz to 768 kHz, it
    // holds sound, and the decoder reaches the end its header gives (a FLAC
    // cut short fails here). A FLAC whose header gives no length (written to
    // a pipe) is counted by decoding it to its end; an MP3 by its frames, so
    // that no Xing or LAME header is needed. Null with `reason` (English) and
    // `kind` (when given) on a refusal.
    static std::unique_ptr<SoundFileDecoder> Open(const std::string& path, std::string& reason,
                                                  AudioRefusal* kind = nullptr);
    ~SoundFileDecoder();
    SoundFileDecoder(const SoundFileDecoder&) = delete;
    SoundFileDecoder& operator=(const SoundFileDecoder&) = delete;

    // The samples Read delivers, as a WAV format description (little-endian
    // PCM or float); its rate and channels are the file's.
    const WavFormat& Format() const { return m_format; }
    // Frames of sound, as the decoder counts them.
    std::int64_t Frames() const { return m_frames; }
    // Reads up to `frames` frames into `out` (Format().blockAlign bytes each).
    // Returns the frames read, 0 at the end, -1 when the decoder fails.
    std::int64_t Read(std::uint8_t* out, std::int64_t frames);

  private:
    enum class SampleType { kShort, kInt, kFloat };

    SoundFileDecoder(sf_private_tag* file, SampleType type, int channels, int rate);
    // Takes the frame count (`counted`: by every frame, so no end check);
    // the refusal reason, empty when it is fine.
    std::string CheckedFrames(std::int64_t frames, bool counted, AudioRefusal& kind);
    bool EndReachable();
    // Frames the decoder delivers from here to the end, then back to the
    // start; -1 when it fails on the way.
    std::int64_t DecodedFrames();

    sf_private_tag* m_file;
    SampleType m_type;
    WavFormat m_format;
    std::int64_t m_frames = 0;
};
