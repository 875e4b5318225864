#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>

#include "StandardStreams.h"

FileHandleRecord StandardInput() {
    (void)_setmode(_fileno(stdin), _O_BINARY);
    return {reinterpret_cast<std::intptr_t>(::GetStdHandle(STD_INPUT_HANDLE)), "standard input"};
}

FileHandleRecord StandardOutput() {
    (void)_setmode(_fileno(stdout), _O_BINARY);
    return {reinterpret_cast<std::intptr_t>(::GetStdHandle(STD_OUTPUT_HANDLE)), "standard output"};
}
