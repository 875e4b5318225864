#include "EnginesText.h"

#include "LanguageTexts.h"

std::string EnginesText(std::string_view key, std::string_view builtIn,
                        std::initializer_list<std::string> values) {
    std::string text = LanguageTexts("Engines").Key(key, builtIn);
    int number = 1;
    for (const std::string& value : values) {
        const std::string mark = "%" + std::to_string(number++);
        // A translation may leave a value out; it is never an error.
        if (const auto at = text.find(mark); at != std::string::npos)
            text.replace(at, mark.size(), value);
    }
    return text;
}
