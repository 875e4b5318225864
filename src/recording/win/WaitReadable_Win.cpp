#include "WaitReadable.h"

// Streamed images are read on Linux only; a read here simply waits.
bool WaitReadable(const FileHandleRecord& file, int milliseconds) {
    (void)file;
    (void)milliseconds;
    return true;
}
