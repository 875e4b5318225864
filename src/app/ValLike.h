#pragma once

#include <string_view>

// The lenient numeric reading of stored settings: the leading number of the
// text ("12abc" -> 12, " -3" -> -3, "&H10" -> 16, "1e3" -> 1000, blanks
// inside the digits are skipped), 0 when the text does not start with one.
double ValLike(std::string_view text);

// ValLike rounded half to even into an int, as integer settings read it.
int ValLikeInt(std::string_view text);
