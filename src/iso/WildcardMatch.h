#pragma once

#include <QString>

// Case-sensitive wildcard match of a whole name: "*" any run of characters,
// "?" any one character, "#" one digit, "[list]" one character of the list
// ("a-z" ranges allowed), "[!list]" one character not in it.
bool WildcardMatch(const QString& name, const QString& pattern);
