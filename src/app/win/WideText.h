#pragma once

#include <string>

#include "UnicodeText.h"

// The program's UTF-8 text at the Windows system calls, which take UTF-16.
inline std::wstring Wide(const std::string& utf8) {
    const std::u16string units = UnicodeText::Utf8ToUtf16(utf8);
    return std::wstring(units.begin(), units.end());
}

inline std::string Narrow(const std::wstring& wide) {
    return UnicodeText::Utf16ToUtf8(std::u16string(wide.begin(), wide.end()));
}
