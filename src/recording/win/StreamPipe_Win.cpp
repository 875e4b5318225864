#include <windows.h>

#include "StreamPipe.h"

bool OpenStreamPipe(FileHandleRecord& readEnd, FileHandleRecord& writeEnd) {
    HANDLE reading = nullptr, writing = nullptr;
    if (!::CreatePipe(&reading, &writing, nullptr, 1 << 20)) return false;
    readEnd = {reinterpret_cast<std::intptr_t>(reading), "pipe"};
    writeEnd = {reinterpret_cast<std::intptr_t>(writing), "pipe"};
    return true;
}
