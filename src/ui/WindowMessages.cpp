#include "WindowMessages.h"

#include "LanguageTexts.h"
#include "WindowTexts.h"

WindowMessages::WindowMessages(const LanguageTexts& texts,
                               std::vector<std::pair<int, const char*>> builtIns) {
    for (const auto& [number, builtIn] : builtIns) {
        ObserveLanguageKey(texts.MessageKey(number));
        m_texts[number] = QString::fromStdString(texts.Message(number, builtIn));
    }
}

QString WindowMessages::operator[](int number) const {
    const auto found = m_texts.find(number);
    return found == m_texts.end() ? QString() : found->second;
}
