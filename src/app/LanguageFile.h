#pragma once

#include <string>

// Language name ("Chinese Simple", "Chinese Tradition", "English" or empty)
// for the user's locale (SystemAccess::UserLocaleName: LC_ALL, LC_MESSAGES and
// LANG in that order; on Windows the user's default language identifier).
std::string GetLanguageName();
// The same mapping for a locale name such as "zh_CN.UTF-8" or "en_US".
std::string LanguageNameForLocale(const std::string& localeName);

// Value of the first line of the UTF-8 file at `path` that contains key + "=";
// everything after that "=" to the end of the line, untrimmed. A line ends at
// a line feed, a carriage return or both. Empty when the file or the key is
// missing.
// Each call reads the file afresh.
std::string ReadKeyValue(const std::string& path, const std::string& key);

// Full path of the language file for the user's language in the program's data
// folder, or empty when there is none. Decided once per run.
const std::string& LanguageFilePath();
// Tests and the command line may point the lookup elsewhere (empty: built-in texts).
void SetLanguageFilePath(const std::string& path);
