#include <fcntl.h>
#include <unistd.h>

#include <string>
#include <utility>

#include "CliTexts.h"
#include "StandardStreams.h"

namespace {
// A pipe of the default 64 KiB wakes both ends for every 16 blocks; a larger
// one lets an image stream in far fewer, larger reads. Not a pipe, or a
// system that refuses: the stream works as it is.
constexpr int kPipeBytes = 1 << 20;

FileHandleRecord Stream(int descriptor, std::string name) {
    (void)::fcntl(descriptor, F_SETPIPE_SZ, kPipeBytes);
    return {descriptor, std::move(name)};
}
}  // namespace

FileHandleRecord StandardInput() {
    return Stream(STDIN_FILENO, Text(CliText::StandardInput));
}

FileHandleRecord StandardOutput() {
    return Stream(STDOUT_FILENO, Text(CliText::StandardOutput));
}
