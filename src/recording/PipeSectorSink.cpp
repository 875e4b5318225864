#include "PipeSectorSink.h"

bool PipeSectorSink::Write(std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const std::int64_t n = modFileAccess::FileWrite(
            m_pipe, bytes.data() + done, static_cast<std::int64_t>(bytes.size() - done));
        if (n <= 0) {
            m_error = "cannot be passed on (" + modFileAccess::LastErrorText() + ")";
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}
