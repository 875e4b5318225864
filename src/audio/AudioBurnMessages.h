#pragma once

#include <string>

#include "AudioRefusal.h"

// The message for a file the audio CD task cannot take: its path, String34
// ("file type not supported") and, when known, the reason in parentheses.
std::string UnsupportedFileText(const std::string& path, const std::string& notSupported,
                                const std::string& reason);

// The message for a file the audio task cannot record: UnsupportedFileText
// for a file that is no sound the converter reads, otherwise what is wrong
// with this file (missing, unreadable, cut short, silent).
std::string AudioFileProblemText(const std::string& path, AudioRefusal kind,
                                 const std::string& reason, const std::string& notSupported);
// The message for a source that changed after it was checked.
std::string ChangedFileText(const std::string& path);
