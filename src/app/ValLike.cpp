#include "ValLike.h"

#include <cctype>
#include <cmath>
#include <limits>
#include <string>

namespace {
bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// "&H1F" / "&O17": hexadecimal and octal forms.
double RadixValue(std::string_view text, std::size_t at, int radix) {
    double value = 0;
    for (; at < text.size(); ++at) {
        const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(text[at])));
        int digit = -1;
        if (c >= '0' && c <= '9') digit = c - '0';
        if (radix == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        if (digit < 0 || digit >= radix) break;
        value = value * radix + digit;
    }
    return value;
}
}  // namespace

double ValLike(std::string_view text) {
    std::string number;  // digits, sign, point and exponent, blanks removed
    std::size_t at = 0;
    while (at < text.size() && IsBlank(text[at])) ++at;
    if (text.size() >= at + 2 && text[at] == '&') {
        const char kind = static_cast<char>(std::toupper(static_cast<unsigned char>(text[at + 1])));
        if (kind == 'H') return RadixValue(text, at + 2, 16);
        if (kind == 'O') return RadixValue(text, at + 2, 8);
    }
    bool seenDigit = false, seenPoint = false, seenExponent = false;
    for (; at < text.size(); ++at) {
        const char c = text[at];
        if (IsBlank(c)) continue;
        if (std::isdigit(static_cast<unsigned char>(c))) {
            number += c;
            seenDigit = true;
        } else if ((c == '+' || c == '-') && (number.empty() || number.back() == 'e')) {
            number += c;
        } else if (c == '.' && !seenPoint && !seenExponent) {
            number += c;
            seenPoint = true;
        } else if ((c == 'e' || c == 'E' || c == 'd' || c == 'D') && seenDigit && !seenExponent) {
            number += 'e';
            seenExponent = true;
        } else {
            break;
        }
    }
    if (!seenDigit) return 0;
    while (!number.empty() &&
           (number.back() == 'e' || number.back() == '+' || number.back() == '-'))
        number.pop_back();
    try {
        return std::stod(number);
    } catch (...) {
        return 0;
    }
}

int ValLikeInt(std::string_view text) {
    const double value = std::nearbyint(ValLike(text));
    if (!(value > std::numeric_limits<int>::min() && value < std::numeric_limits<int>::max()))
        return 0;
    return static_cast<int>(value);
}
