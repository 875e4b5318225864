#include "Mp3Length.h"

#include <mpg123.h>

#include <memory>

namespace {
struct HandleCloser {
    void operator()(mpg123_handle* handle) const {
        mpg123_close(handle);
        mpg123_delete(handle);
    }
};
}  // namespace

std::int64_t Mp3FrameCount(const std::string& path) {
    int error = MPG123_OK;
    std::unique_ptr<mpg123_handle, HandleCloser> handle(mpg123_new(nullptr, &error));
    if (!handle) return -1;
    // Quiet: a damaged file is reported by the caller, not on stderr.
    mpg123_param(handle.get(), MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_GAPLESS, 0.0);
    if (mpg123_open(handle.get(), path.c_str()) != MPG123_OK) return -1;
    long rate = 0;
    int channels = 0, encoding = 0;
    if (mpg123_getformat(handle.get(), &rate, &channels, &encoding) != MPG123_OK) return -1;
    if (mpg123_scan(handle.get()) != MPG123_OK) return -1;
    const off_t frames = mpg123_length(handle.get());
    return frames < 0 ? -1 : static_cast<std::int64_t>(frames);
}
