#pragma once

#include <cstdint>
#include <span>
#include <string>

// Where a disc copy puts the sectors it reads, front to back: an image file
// (ImageFileWriter) or the pipe to a recording on another drive
// (PipeSectorSink).
class SectorSink {
  public:
    virtual ~SectorSink() = default;
    // Appends bytes. False (see Error()) when they cannot be taken.
    virtual bool Write(std::span<const std::uint8_t> bytes) = 0;
    // The copy failed or was stopped: nothing of it is kept.
    virtual void Discard() = 0;
    // How messages name it.
    virtual const std::string& Path() const = 0;
    virtual const std::string& Error() const = 0;
};
