#pragma once

#include <cstddef>
#include <string_view>

// How many columns a terminal gives the UTF-8 `text`: East Asian wide
// characters (Chinese, full-width punctuation) take two, others one.
std::size_t TerminalColumns(std::string_view text);
