#include "AudioTags.h"

#include <algorithm>
#include <cctype>

#include "UnicodeText.h"

namespace {
std::string Trimmed(const std::string& text) {
    const auto space = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    const auto first = std::find_if_not(text.begin(), text.end(), space);
    const auto last = std::find_if_not(text.rbegin(), text.rend(), space).base();
    return first < last ? UnicodeText::ValidUtf8(std::string(first, last)) : std::string();
}

// `code` without dashes and spaces, in capitals; empty unless `length` characters
// pass `allowed`.
std::string Code(const std::string& code, std::size_t length, int (*allowed)(int)) {
    std::string out;
    for (const char c : code)
        if (c != '-' && c != ' ')
            out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const bool valid = out.size() == length && std::all_of(out.begin(), out.end(), [&](char c) {
                           return allowed(static_cast<unsigned char>(c)) != 0;
                       });
    return valid ? out : std::string();
}

int IsrcCharacter(int c) {
    return std::isdigit(c) != 0 || (c >= 'A' && c <= 'Z') ? 1 : 0;
}
int Digit(int c) {
    return std::isdigit(c) != 0 ? 1 : 0;
}
}  // namespace

void AudioTags::Normalise() {
    for (std::string* text : {&title, &performer, &songwriter, &album, &albumPerformer})
        *text = Trimmed(*text);
    isrc = Code(isrc, 12, &IsrcCharacter);
    const std::string upc = Code(catalogue, 12, &Digit);
    catalogue = upc.empty() ? Code(catalogue, 13, &Digit) : "0" + upc;
}
