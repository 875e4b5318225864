#include "ImageFileWriter.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {
// Large enough that a copy of 2048-byte sectors costs few system calls.
constexpr std::size_t kBufferSize = 1 << 20;
}  // namespace

ImageFileWriter::~ImageFileWriter() {
    Discard();
}

bool ImageFileWriter::Create(const std::string& path) {
    Discard();
    m_path = path;
    m_fd = ::open(PartialPath().c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (m_fd < 0) return Fail("cannot be created");
    m_buffer.reserve(kBufferSize);
    m_error.clear();
    return true;
}

bool ImageFileWriter::Write(std::span<const std::uint8_t> bytes) {
    if (m_fd < 0) return false;
    if (m_buffer.size() + bytes.size() > kBufferSize && !Flush()) return false;
    m_buffer.insert(m_buffer.end(), bytes.begin(), bytes.end());
    return true;
}

bool ImageFileWriter::Flush() {
    std::size_t done = 0;
    while (done < m_buffer.size()) {
        const ssize_t n = ::write(m_fd, m_buffer.data() + done, m_buffer.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = ENOSPC;
            return Fail("write error");
        }
        done += static_cast<std::size_t>(n);
    }
    m_buffer.clear();
    return true;
}

bool ImageFileWriter::Commit() {
    if (m_fd < 0 || !Flush()) return false;
    const int closed = ::close(m_fd);
    m_fd = -1;
    if (closed != 0) return Fail("write error");
    if (std::rename(PartialPath().c_str(), m_path.c_str()) != 0) return Fail("cannot be renamed");
    m_path.clear();
    return true;
}

void ImageFileWriter::Discard() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
    if (!m_path.empty()) ::unlink(PartialPath().c_str());
    m_path.clear();
    m_buffer.clear();
}

bool ImageFileWriter::Fail(const char* what) {
    m_error = std::string(what) + " (" + std::strerror(errno) + ")";
    return false;
}
