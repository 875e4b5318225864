#include "modFileAccess.h"

#include "modFileAccessParts.h"

namespace modFileAccess {

std::int64_t FileWrite(FileHandleRecord& file, const void* buffer, std::int64_t count) {
    if (file.handle == -1) return 0;
    const auto* bytes = static_cast<const char*>(buffer);
    std::int64_t done = 0;
    while (done < count) {
        const std::int64_t put = WriteSome(file, bytes + done, count - done);
        if (put < 0) return -1;
        done += put;
    }
    return done;
}

std::int64_t FilePos(FileHandleRecord& file) {
    return FileSeek(file, 0, SeekMethod::Current);
}

}  // namespace modFileAccess
