#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "AudioRefusal.h"
#include "WavFormat.h"

class CddaResampler;
struct FileHandleRecord;

// Turns one sound file (WAV, FLAC, MP3, Ogg Vorbis or Opus) into the form an
// audio track is recorded from: a WAV file of CD-DA PCM (44,100 Hz, 16-bit,
// stereo) with a canonical 44-byte header. WAV files are read by walking
// their RIFF chunks, the others through SoundFileDecoder. Shows nothing;
// reports through Source() and Convert()'s status.
class clsWav2Cda {
  public:
    // Results of Convert().
    static constexpr std::int32_t kNothingDone = 0;      // Source or Destination empty
    static constexpr std::int32_t kConverterFailed = 1;  // the converter could not be set up
    static constexpr std::int32_t kBlockFailed = 2;      // reading, converting or writing failed
    static constexpr std::int32_t kDone = 3;

    // The accepted file, empty until one is accepted and after a refusal.
    const std::string& Source() const { return m_source; }
    // Acceptance test. A path ending in "wav" (any case) must name a regular
    // file whose chunks hold a "fmt " and a "data" chunk, in a format the
    // converter reads (8-bit unsigned, 16/24/32-bit signed or 32-bit float
    // PCM, also as WAVE_FORMAT_EXTENSIBLE; mono or stereo; any rate up to
    // 768 kHz). A FLAC, MP3 or Ogg name must pass SoundFileDecoder::Open.
    // A refusal empties Source and keeps the previous format.
    void SetSource(const std::string& path);
    // Why the last SetSource refused its file (English); empty after an acceptance.
    const std::string& RefusalReason() const { return m_refusal; }
    // The kind of that refusal (None after an acceptance).
    AudioRefusal RefusalKind() const { return m_refusalKind; }

    const std::string& Destination() const { return m_destination; }
    void SetDestination(const std::string& path) { m_destination = path; }

    // Converts Source into Destination. Returns kNothingDone when either is
    // empty or both name the same file; kDone with Destination set to Source
    // when the source is a CD-DA WAV file (read its data chunk in place);
    // kConverterFailed or kBlockFailed on failure; kDone when Destination
    // holds the complete file. The file is written as an OutputFile: under a
    // partial name, never through a link, and renamed to Destination only when
    // complete, so a failure leaves Destination as it was.
    [[nodiscard]] std::int32_t Convert();
    // Why the last Convert could not create, write or complete Destination
    // (a link or a device in its place, a full disk); empty otherwise.
    const std::string& OutputProblem() const { return m_outputProblem; }

    // Receives the percentage of the source data converted, after every block.
    void SetProgressHandler(std::function<void(std::int16_t percent)> handler) {
        m_progress = std::move(handler);
    }
    // Asked before every block; true stops the conversion (Convert returns
    // kBlockFailed, Cancelled() turns true, Destination is left as it was).
    void SetCancelCheck(std::function<bool()> check) { m_cancelCheck = std::move(check); }
    bool Cancelled() const { return m_cancelled; }

    // The format of the accepted Source (for a decoded file: of the samples
    // its decoder delivers), and its length in frames at its own rate.
    const WavFormat& SourceFormat() const { return m_sourceFormat; }
    std::int64_t SourceFrames() const { return m_sourceFrames; }
    // True when the accepted Source is decoded (FLAC, MP3, Ogg), not a WAV file.
    bool SourceDecoded() const { return m_decoded; }

  private:
    // Fills a buffer with up to n frames; returns the count, 0 at the end, -1 on failure.
    using FrameReader = std::function<std::int64_t(std::uint8_t* block, std::int64_t n)>;

    void Accept(const std::string& path, const WavFormat& format, std::int64_t frames,
                bool decoded);
    void Refuse(AudioRefusal kind, std::string reason);
    std::int32_t ConvertWave(CddaResampler& resampler);
    std::int32_t ConvertDecoded(CddaResampler& resampler);
    std::int32_t ConvertData(CddaResampler& resampler, std::int64_t totalFrames,
                             const FrameReader& read);
    std::int32_t ConvertBlocks(FileHandleRecord& out, CddaResampler& resampler,
                               std::int64_t totalFrames, const FrameReader& read);
    void RaiseProgress(std::int64_t done, std::int64_t total);
    // Writes the CD-DA header for a file of `length` bytes at offset 0 of `file`.
    static bool WriteWaveHeader(FileHandleRecord& file, std::int64_t length);
    // True when `path` names an existing regular file.
    static bool FileFound(const std::string& path);

    std::string m_source;
    std::string m_destination;
    std::string m_refusal;
    AudioRefusal m_refusalKind = AudioRefusal::None;
    std::string m_outputProblem;
    WavFormat m_sourceFormat;
    std::int64_t m_sourceFrames = 0;
    bool m_decoded = false;
    std::function<void(std::int16_t)> m_progress;
    std::function<bool()> m_cancelCheck;
    bool m_cancelled = false;
    bool m_writeFailed = false;
};
