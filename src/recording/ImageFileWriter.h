#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// An image file written sequentially. It is built under the name
// path + ".part" and takes its real name only at Commit, so a failed or
// abandoned copy never leaves a short image that looks complete and never
// destroys an existing file of that name. Every write is checked.
class ImageFileWriter {
  public:
    ImageFileWriter() = default;
    ~ImageFileWriter();
    ImageFileWriter(const ImageFileWriter&) = delete;
    ImageFileWriter& operator=(const ImageFileWriter&) = delete;

    // Creates (or empties) the partial file. False (see Error()) when it cannot.
    bool Create(const std::string& path);
    // Appends bytes. False (see Error()) when the disk refuses them (full disk, I/O error).
    bool Write(std::span<const std::uint8_t> bytes);
    // Writes what is buffered, closes, and renames the file to its real name.
    bool Commit();
    // Closes and deletes the partial file.
    void Discard();

    const std::string& Path() const { return m_path; }
    std::string PartialPath() const { return m_path + ".part"; }
    const std::string& Error() const { return m_error; }

  private:
    bool Flush();
    bool Fail(const char* what);

    int m_fd = -1;
    std::string m_path;
    std::vector<std::uint8_t> m_buffer;
    std::string m_error;
};
