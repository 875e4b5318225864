#pragma once

#include <string_view>

// Case-sensitive wildcard match of a whole name: "*" any run of characters,
// "?" any one character, "#" one digit, "[list]" one character of the list
// ("a-z" ranges allowed), "[!list]" one character not in it. Characters are
// UTF-16 code units.
bool WildcardMatch(std::u16string_view name, std::u16string_view pattern);
