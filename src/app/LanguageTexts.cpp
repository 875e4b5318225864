#include "LanguageTexts.h"

#include <cstdio>

#include "LanguageFile.h"

LanguageTexts::LanguageTexts(std::string windowName)
    : LanguageTexts(std::move(windowName), LanguageFilePath()) {}

LanguageTexts::LanguageTexts(std::string windowName, std::string languageFile)
    : m_window(std::move(windowName)), m_file(std::move(languageFile)) {}

std::string LanguageTexts::Key(std::string_view suffix, std::string_view builtIn) const {
    return Lookup(m_window + "." + std::string(suffix), builtIn);
}

std::string LanguageTexts::MessageKey(int number) const {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%02d", number);
    return m_window + ".String" + digits;
}

std::string LanguageTexts::Message(int number, std::string_view builtIn) const {
    return Lookup(MessageKey(number), builtIn);
}

std::string LanguageTexts::Lookup(const std::string& key, std::string_view builtIn) const {
    if (m_file.empty()) return std::string(builtIn);
    std::string value = ReadKeyValue(m_file, key);
    return value.empty() ? std::string(builtIn) : value;
}
