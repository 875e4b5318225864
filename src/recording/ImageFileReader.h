#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "ImageSource.h"
#include "modFileAccess.h"

// An image file read front to back in fixed-size chunks for recording.
class ImageFileReader : public ImageSource {
  public:
    ImageFileReader() = default;
    ~ImageFileReader() override;
    ImageFileReader(const ImageFileReader&) = delete;
    ImageFileReader& operator=(const ImageFileReader&) = delete;

    // Opens a regular file for reading. Returns false (see Error()) when it
    // is missing, unreadable or not a regular file.
    bool Open(const std::string& path);
    // Length in bytes taken at Open.
    std::int64_t Length() const override { return m_length; }
    // True while the read position is before the length taken at Open.
    bool HasMore() const override { return m_position < m_length; }
    // Fills `chunk` with the next bytes of the image; a short final chunk is
    // padded with zeros. Returns false (see Error()) on a read error or when
    // the file ended before its length.
    bool ReadChunk(std::span<std::uint8_t> chunk) override;
    void Close() override;
    // Why the last Open or ReadChunk failed, in English.
    const std::string& Error() const override { return m_error; }
    // True when the file holds an ISO 9660 volume (looked at by Open).
    bool DeclaresLength() const override { return m_declares; }
    std::string Name() const override { return m_path; }

    // Empty when `path` opens as a regular file of at least `minimumLength`
    // bytes, otherwise the reason (English).
    static std::string Check(const std::string& path, std::int64_t minimumLength);

  private:
    FileHandleRecord m_file;
    std::int64_t m_length = 0;
    std::int64_t m_position = 0;
    bool m_declares = false;
    std::string m_path;
    std::string m_error;
};
