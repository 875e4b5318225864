#pragma once

#include <cstdint>
#include <string>

// A byte count as the file lists and the size panels show it: "512 bytes",
// "2 KB" (whole kilobytes), "1.13 MB", "4.38 GB" (two decimals). Halves are
// rounded away from zero and the decimal separator is always "."; a
// negative count gives an empty text.
std::string SizeText(std::int64_t bytes);
