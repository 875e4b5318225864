#pragma once

#include <string_view>

// Built-in (Simplified Chinese) texts of the audio window's messages
// "frmWriteCDDA.String01" .. "String38"; empty for other numbers.
std::string_view AudioBurnBuiltInText(int number);
