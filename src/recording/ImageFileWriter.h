#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "ImageOutput.h"
#include "OutputFile.h"
#include "SectorSink.h"

// An image file written sequentially through an OutputFile: it takes its
// real name only at Commit, so a failed or abandoned copy never leaves a
// short image that looks complete, never destroys an existing file of that
// name and never writes through a link. Every write is checked; long runs
// of zeros stay holes (see ImageOutput).
class ImageFileWriter : public SectorSink {
  public:
    // Creates the partial file. False (see Error()) when it cannot, or when
    // `path` exists and is not a regular file.
    bool Create(const std::string& path);
    // Appends bytes. False (see Error()) when the disk refuses them (full disk, I/O error).
    bool Write(std::span<const std::uint8_t> bytes) override;
    // Writes what is buffered, closes, and renames the file to its real name.
    bool Commit();
    // Closes and deletes the partial file.
    void Discard() override;

    const std::string& Path() const override { return m_path; }
    const std::string& Error() const override { return m_error; }

  private:
    bool Fail(const std::string& text);

    OutputFile m_output;
    std::unique_ptr<ImageOutput> m_image;
    std::string m_path;
    std::string m_error;
};
