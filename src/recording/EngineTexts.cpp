#include "EngineTexts.h"

#include "LanguageTexts.h"

EngineTexts::EngineTexts(const std::string& windowName, std::span<const char* const> builtIns) {
    const LanguageTexts language(windowName);
    m_texts.reserve(builtIns.size());
    for (std::size_t i = 0; i < builtIns.size(); ++i)
        m_texts.push_back(language.Message(static_cast<int>(i) + 1, builtIns[i]));
}

const std::string& EngineTexts::operator()(int number) const {
    static const std::string kNone;
    if (number < 1 || static_cast<std::size_t>(number) > m_texts.size()) return kNone;
    return m_texts[static_cast<std::size_t>(number) - 1];
}
