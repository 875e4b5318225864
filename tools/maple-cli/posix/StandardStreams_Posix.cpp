#include <unistd.h>

#include "CliTexts.h"
#include "StandardStreams.h"

FileHandleRecord StandardInput() {
    return {STDIN_FILENO, Text(CliText::StandardInput)};
}

FileHandleRecord StandardOutput() {
    return {STDOUT_FILENO, Text(CliText::StandardOutput)};
}
