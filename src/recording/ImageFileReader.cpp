#include "ImageFileReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

ImageFileReader::~ImageFileReader() {
    Close();
}

bool ImageFileReader::Open(const std::string& path) {
    Close();
    m_fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (m_fd < 0) {
        m_error = std::string("cannot be opened (") + std::strerror(errno) + ")";
        return false;
    }
    struct stat info {};
    if (::fstat(m_fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        m_error = "is not a regular file";
        Close();
        return false;
    }
    m_length = info.st_size;
    m_position = 0;
    m_error.clear();
    return true;
}

bool ImageFileReader::ReadChunk(std::span<std::uint8_t> chunk) {
    const std::int64_t wanted =
        std::min<std::int64_t>(static_cast<std::int64_t>(chunk.size()), m_length - m_position);
    std::int64_t got = 0;
    while (got < wanted) {
        const ssize_t n = ::read(m_fd, chunk.data() + got, static_cast<std::size_t>(wanted - got));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            m_error = n < 0 ? std::string("cannot be read (") + std::strerror(errno) + ")"
                            : std::string("ended before its length (the file shrank)");
            return false;
        }
        got += n;
    }
    std::fill(chunk.begin() + got, chunk.end(), std::uint8_t{0});
    m_position += got;
    return true;
}

void ImageFileReader::Close() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
}

std::string ImageFileReader::Check(const std::string& path, std::int64_t minimumLength) {
    ImageFileReader reader;
    if (!reader.Open(path)) return reader.Error();
    if (reader.Length() < minimumLength)
        return "is shorter than " + std::to_string(minimumLength) + " bytes";
    return {};
}
