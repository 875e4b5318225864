#include "CaseFolding.h"

#include <algorithm>

#include "UnicodeText.h"

namespace CaseFolding {

char32_t Fold(char32_t codePoint) {
    if (codePoint < 0x80)
        return codePoint >= U'A' && codePoint <= U'Z' ? codePoint + 0x20 : codePoint;
    const auto after =
        std::upper_bound(kFoldRuns.begin(), kFoldRuns.end(), codePoint,
                         [](char32_t c, const FoldRun& run) { return c < run.first; });
    if (after == kFoldRuns.begin()) return codePoint;
    const FoldRun& run = *(after - 1);
    if (codePoint > run.last || (codePoint - run.first) % static_cast<char32_t>(run.step) != 0)
        return codePoint;
    return static_cast<char32_t>(static_cast<std::int32_t>(codePoint) + run.delta);
}

std::u16string Key(std::u16string_view utf16) {
    std::u16string key;
    key.reserve(utf16.size());
    for (std::size_t at = 0; at < utf16.size();)
        UnicodeText::AppendCodePoint(key, Fold(UnicodeText::NextCodePoint(utf16, at)));
    return key;
}

std::u16string Key(std::string_view utf8) {
    std::u16string key(utf8.size(), u'\0');
    for (std::size_t at = 0; at < utf8.size(); ++at) {
        const auto unit = static_cast<unsigned char>(utf8[at]);
        // Beyond ASCII the whole name takes the long way.
        if (unit >= 0x80) return Key(UnicodeText::Utf8ToUtf16(utf8));
        key[at] = static_cast<char16_t>(Fold(unit));
    }
    return key;
}

}  // namespace CaseFolding
