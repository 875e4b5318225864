#include <fcntl.h>
#include <unistd.h>

#include "StreamPipe.h"

bool OpenStreamPipe(FileHandleRecord& readEnd, FileHandleRecord& writeEnd) {
    int ends[2] = {-1, -1};
    if (::pipe2(ends, O_CLOEXEC) != 0) return false;
    readEnd = {ends[0], "pipe"};
    writeEnd = {ends[1], "pipe"};
    return true;
}
