#include "NameText.h"

#include <algorithm>

#include "UnicodeText.h"

namespace NameText {

namespace {
std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}
}  // namespace

std::string TrimSpaces(std::string_view text) {
    return std::string(Trimmed(text));
}

std::string PrintableAscii(std::string_view text) {
    if (std::ranges::all_of(text, [](char c) { return c >= 0x20 && c < 0x7F; }))
        return std::string(text);
    const std::u16string units = UnicodeText::Utf8ToUtf16(text);
    std::string result;
    result.reserve(units.size());
    for (std::size_t at = 0; at < units.size();) {
        const char32_t c = UnicodeText::NextCodePoint(units, at);
        result += c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '_';
    }
    return result;
}

std::string AsciiUpper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

std::string DiscNameFromLocal(const std::string& localName) {
    std::string name = UnicodeText::ValidUtf8(localName);
    std::replace(name.begin(), name.end(), '\\', '_');
    return name;
}

std::string LastPathPart(const std::string& path) {
#ifdef _WIN32
    constexpr std::string_view kSeparators = "/\\";  // Windows paths take both
#else
    constexpr std::string_view kSeparators = "/";
#endif
    std::string trimmed = path;
    while (trimmed.size() > 1 && kSeparators.find(trimmed.back()) != std::string_view::npos)
        trimmed.pop_back();
    const auto slash = trimmed.find_last_of(kSeparators);
    return slash == std::string::npos ? trimmed : trimmed.substr(slash + 1);
}

bool IsUsableName(std::string_view name) {
    const std::string_view trimmed = Trimmed(name);
    return !trimmed.empty() && trimmed != "." && trimmed != "..";
}

std::string NumberedName(const std::string& name, int number, bool file) {
    const auto dot = file ? name.rfind('.') : std::string::npos;
    const std::size_t stem = dot == std::string::npos || dot == 0 ? name.size() : dot;
    return name.substr(0, stem) + " (" + std::to_string(number) + ")" + name.substr(stem);
}

std::string ShownText(std::string_view text) {
    std::string shown;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t length = 1;
        // The shortest prefix that decodes to itself is one whole character.
        while (length <= 4 && at + length <= text.size() &&
               UnicodeText::ValidUtf8(text.substr(at, length)) != text.substr(at, length))
            ++length;
        if (length <= 4 && at + length <= text.size()) {
            shown += text.substr(at, length);
            at += length;
            continue;
        }
        static const char kHex[] = "0123456789ABCDEF";
        const auto byte = static_cast<unsigned char>(text[at++]);
        shown += std::string("\\x") + kHex[byte >> 4] + kHex[byte & 15];
    }
    return shown;
}

bool IsDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace NameText
