#include "UnicodeText.h"

#include <gtest/gtest.h>

namespace {
struct Decoding {
    std::string utf8;
    std::u16string utf16;
};

// Each offending byte of invalid UTF-8 gives one U+FFFD, as the windows' text class decodes it.
const Decoding kDecodings[] = {
    {"abc", u"abc"},
    {"\xe6\x9d\x8e\xf0\x9f\x98\x80", u"\u674e\U0001F600"},
    {"\xef\xbb\xbfx", u"x"},                            // a leading byte order mark is dropped
    {"x\xef\xbb\xbf", u"x\uFEFF"},                      // elsewhere it is a character
    {"\xff\xc0\x80", u"\uFFFD\uFFFD\uFFFD"},            // no lead byte, overlong
    {"\xe0\x9f\x80", u"\uFFFD\uFFFD\uFFFD"},            // overlong three-byte form
    {"\xed\xa0\x80", u"\uFFFD\uFFFD\uFFFD"},            // an encoded surrogate
    {"\xf4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // above U+10FFFF
    {"\xf0\x9f\x98", u"\uFFFD\uFFFD\uFFFD"},            // cut short
    {"\xc3(", u"\uFFFD("},
};

TEST(UnicodeText, DecodesAndReplacesLikeTheWindows) {
    for (const Decoding& decoding : kDecodings) {
        EXPECT_EQ(UnicodeText::Utf8ToUtf16(decoding.utf8), decoding.utf16) << decoding.utf8;
        EXPECT_EQ(UnicodeText::ValidUtf8(decoding.utf8), UnicodeText::Utf16ToUtf8(decoding.utf16));
    }
    EXPECT_EQ(UnicodeText::Utf16ToUtf8(u"a\xD800"
                                       u"b\xDC00"),
              "a?b?");  // lone surrogates
}
}  // namespace
