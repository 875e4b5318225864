#pragma once

#include <string>
#include <string_view>

// Conversions between UTF-8 (the program's text everywhere) and UTF-16 (the
// units that disc names are counted in, and the system's wide strings).
namespace UnicodeText {

// Invalid UTF-8 decodes to U+FFFD per offending byte, as the windows' own
// text class decodes it, so both sides see the same name.
std::u16string Utf8ToUtf16(std::string_view utf8);
// A lone surrogate encodes as "?", again as the windows' text class does.
std::string Utf16ToUtf8(std::u16string_view utf16);
// `utf8` with every invalid sequence replaced as Utf8ToUtf16 does.
std::string ValidUtf8(std::string_view utf8);
// True when every byte is ASCII (such text is valid UTF-8 and one unit per byte).
bool IsAscii(std::string_view text);

// Code point iteration over UTF-16: the code point at `at` (a surrogate pair
// counts as one), advancing `at` past it.
char32_t NextCodePoint(std::u16string_view text, std::size_t& at);
void AppendCodePoint(std::u16string& text, char32_t codePoint);

}  // namespace UnicodeText
