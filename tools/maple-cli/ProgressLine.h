#pragma once

#include <cstdint>
#include <string>

// The speed and time-left part of the command line's progress line, as other
// recording tools show it: "8.0× 1.23 MB/s 00:03:12 left". The speed is
// known when the job's size is; the time left once some progress was made.
class ProgressLine {
  public:
    // `bytes`: size of the whole job; `bytesPerX`: the drive's 1x speed
    // (153600 for CD data, 176400 for CD audio, 1385000 for DVD).
    void SetJob(std::int64_t bytes, std::int64_t bytesPerX);
    // Call at the first progress report; later `Text` counts from there.
    void Start(std::int64_t nowMs);
    // The text for `percent` done at `nowMs`; empty before anything is known.
    std::string Text(int percent, std::int64_t nowMs) const;
    // The buffers' part of the line ("fifo 87% drive 40%"); a level of -1
    // is left out, so the text may be empty.
    static std::string BuffersText(int fifoPercent, int drivePercent);
    // True when a redraw at `nowMs` keeps to a few lines a second.
    bool DueForRedraw(std::int64_t nowMs);

  private:
    std::int64_t m_bytes = 0;
    std::int64_t m_bytesPerX = 0;
    std::int64_t m_startMs = -1;
    std::int64_t m_lastDrawMs = -1;
};
