#include "Mp3Length.h"

#include <fcntl.h>
#include <mpg123.h>

#include <memory>

#ifdef _WIN32
#include <io.h>

#include "WideText.h"
#else
#include <unistd.h>
#endif

namespace {
struct HandleCloser {
    void operator()(mpg123_handle* handle) const {
        mpg123_close(handle);
        mpg123_delete(handle);
    }
};

// The file is opened here rather than by mpg123_open, which takes an ANSI
// name on Windows: a name outside the system's code page would not open.
int OpenReadOnly(const std::string& path) {
#ifdef _WIN32
    return _wopen(Wide(path).c_str(), _O_RDONLY | _O_BINARY);
#else
    return open(path.c_str(), O_RDONLY | O_CLOEXEC);
#endif
}

void CloseFile(int descriptor) {
#ifdef _WIN32
    _close(descriptor);
#else
    close(descriptor);
#endif
}

std::int64_t CountFrames(int descriptor) {
    int error = MPG123_OK;
    std::unique_ptr<mpg123_handle, HandleCloser> handle(mpg123_new(nullptr, &error));
    if (!handle) return -1;
    // Quiet: a damaged file is reported by the caller, not on stderr.
    mpg123_param(handle.get(), MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_GAPLESS, 0.0);
    if (mpg123_open_fd(handle.get(), descriptor) != MPG123_OK) return -1;
    long rate = 0;
    int channels = 0, encoding = 0;
    if (mpg123_getformat(handle.get(), &rate, &channels, &encoding) != MPG123_OK) return -1;
    if (mpg123_scan(handle.get()) != MPG123_OK) return -1;
    const off_t frames = mpg123_length(handle.get());
    return frames < 0 ? -1 : static_cast<std::int64_t>(frames);
}
}  // namespace

std::int64_t Mp3FrameCount(const std::string& path) {
    const int descriptor = OpenReadOnly(path);
    if (descriptor < 0) return -1;
    // mpg123 leaves a descriptor it was given open.
    const std::int64_t frames = CountFrames(descriptor);
    CloseFile(descriptor);
    return frames;
}
