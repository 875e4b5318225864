#pragma once

#include <string>
#include <vector>

#include "CliTexts.h"

// One option of maple-cli or of one of its commands, and what it does.
struct CliOptionText {
    const char* option;
    CliText text;
};

// The global options (before the command).
const std::vector<CliOptionText>& GlobalOptionTexts();
// The options and arguments of `command`; empty for a command without any.
const std::vector<CliOptionText>& CommandOptionTexts(const std::string& command);
// The sections after the commands: exit status, environment and the media
// kinds. Only the manual page has them, and it is in English.
struct CliSectionText {
    const char* title;
    const char* text;
};
const std::vector<CliSectionText>& ClosingSectionTexts();
