#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>

#include "CliTexts.h"
#include "StandardStreams.h"

FileHandleRecord StandardInput() {
    (void)_setmode(_fileno(stdin), _O_BINARY);
    return {reinterpret_cast<std::intptr_t>(::GetStdHandle(STD_INPUT_HANDLE)),
            Text(CliText::StandardInput)};
}

FileHandleRecord StandardOutput() {
    (void)_setmode(_fileno(stdout), _O_BINARY);
    return {reinterpret_cast<std::intptr_t>(::GetStdHandle(STD_OUTPUT_HANDLE)),
            Text(CliText::StandardOutput)};
}
