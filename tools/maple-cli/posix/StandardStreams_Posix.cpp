#include <unistd.h>

#include "StandardStreams.h"

FileHandleRecord StandardInput() {
    return {STDIN_FILENO, "standard input"};
}

FileHandleRecord StandardOutput() {
    return {STDOUT_FILENO, "standard output"};
}
