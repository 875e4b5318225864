#pragma once

#include <string>
#include <string_view>

// Language name ("Chinese Simple", "Chinese Tradition", "English" or empty)
// for the user's locale (SystemAccess::UserLocaleName: LC_ALL, LC_MESSAGES and
// LANG in that order; on Windows the user's default language identifier).
std::string GetLanguageName();
// The same mapping for a locale name such as "zh_CN.UTF-8" or "en_US".
std::string LanguageNameForLocale(const std::string& localeName);

// Value of the first line of `content` (a UTF-8 language or settings file)
// that contains key + "="; everything after that "=" to the end of the line,
// untrimmed. A line ends at a line feed, a carriage return or both. Empty
// when the key is missing.
std::string FindKeyValue(std::string_view content, std::string_view key);
// The whole file at `path`; empty when it cannot be read.
std::string ReadWholeFile(const std::string& path);
// FindKeyValue on the file at `path`, read afresh by each call.
std::string ReadKeyValue(const std::string& path, const std::string& key);

// Full path of the language file for the user's language in the program's data
// folder, or empty when there is none. Decided once per run.
std::string LanguageFilePath();
// Tests and the command line may point the lookup elsewhere (empty: built-in texts).
void SetLanguageFilePath(const std::string& path);

// The language the program's texts are in: that of the language file of the
// run, or the built-in Simplified Chinese without one. The windows and
// maple-cli both choose by it, and the toolkit's own texts follow it.
enum class ProgramLanguage { SimplifiedChinese, TraditionalChinese, English };
ProgramLanguage ChosenLanguage();
// The locale of the chosen language: "zh_CN", "zh_TW" or "en_US".
std::string ChosenLocaleName();
