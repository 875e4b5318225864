#pragma once

#include <string>
#include <string_view>

// Built-in (Simplified Chinese) texts of the audio window's messages
// "frmWriteCDDA.String01" .. "String38"; empty for other numbers.
std::string_view AudioBurnBuiltInText(int number);

// The message for a file the audio CD task cannot take: its path, String34
// ("file type not supported") and, when known, the reason in parentheses.
std::string UnsupportedFileText(const std::string& path, const std::string& notSupported,
                                const std::string& reason);
