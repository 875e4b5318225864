#include "WaitReadable.h"

#include <poll.h>

#include <cerrno>

bool WaitReadable(const FileHandleRecord& file, int milliseconds) {
    pollfd watched{static_cast<int>(file.handle), POLLIN, 0};
    int ready = 0;
    do {
        ready = ::poll(&watched, 1, milliseconds);
    } while (ready < 0 && errno == EINTR);
    // An error shows at the read, which then names it.
    return ready != 0;
}
