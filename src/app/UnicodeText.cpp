#include "UnicodeText.h"

#include <algorithm>

namespace UnicodeText {
namespace {
constexpr char32_t kReplacement = 0xFFFD;

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

bool IsSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDFFF;
}

// Decodes the sequence starting at `at`; on success advances `at` past it,
// otherwise advances one byte and gives U+FFFD.
char32_t DecodeOne(std::string_view in, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(in[at++]);
    if (lead < 0x80) return lead;
    if (lead <= 0xC1 || lead >= 0xF5) return kReplacement;
    const std::size_t needed = lead < 0xE0 ? 1 : (lead < 0xF0 ? 2 : 3);
    const char32_t least = needed == 1 ? 0x80 : (needed == 2 ? 0x800 : 0x10000);
    char32_t c = lead & (needed == 1 ? 0x1F : (needed == 2 ? 0x0F : 0x07));
    if (in.size() - at < needed) return kReplacement;
    for (std::size_t i = 0; i < needed; ++i) {
        const auto next = static_cast<unsigned char>(in[at + i]);
        if (!IsContinuation(next)) return kReplacement;
        c = (c << 6) | (next & 0x3F);
    }
    if (c < least || IsSurrogate(c) || c > 0x10FFFF) return kReplacement;
    at += needed;
    return c;
}

// A leading byte order mark is not part of the text.
std::size_t SkipByteOrderMark(std::string_view in) {
    return in.starts_with("\xEF\xBB\xBF") ? 3 : 0;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}
}  // namespace

std::u16string Utf8ToUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    for (std::size_t at = SkipByteOrderMark(utf8); at < utf8.size();)
        AppendCodePoint(out, DecodeOne(utf8, at));
    return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size());
    for (std::size_t at = 0; at < utf16.size();) {
        const char32_t c = NextCodePoint(utf16, at);
        AppendUtf8(out, IsSurrogate(c) ? U'?' : c);
    }
    return out;
}

bool IsAscii(std::string_view text) {
    return std::ranges::all_of(text, [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::string ValidUtf8(std::string_view utf8) {
    // Most names are plain ASCII, which is valid as it is.
    if (IsAscii(utf8)) return std::string(utf8);
    // Decoding never yields a lone surrogate, so the way back is exact.
    return Utf16ToUtf8(Utf8ToUtf16(utf8));
}

char32_t NextCodePoint(std::u16string_view text, std::size_t& at) {
    const char32_t unit = text[at++];
    if (unit >= 0xD800 && unit <= 0xDBFF && at < text.size() && text[at] >= 0xDC00 &&
        text[at] <= 0xDFFF)
        return 0x10000 + ((unit - 0xD800) << 10) + (text[at++] - 0xDC00);
    return unit;
}

void AppendCodePoint(std::u16string& text, char32_t codePoint) {
    if (codePoint < 0x10000) {
        text += static_cast<char16_t>(codePoint);
        return;
    }
    codePoint -= 0x10000;
    text += static_cast<char16_t>(0xD800 + (codePoint >> 10));
    text += static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF));
}

}  // namespace UnicodeText
