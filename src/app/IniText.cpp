#include "IniText.h"

#include <cstdio>

#include "UnicodeText.h"

namespace IniText {
namespace {
bool IsKeyCharacter(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
           c == u'_' || c == u'-' || c == u'.';
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string Utf8OfUnit(char32_t unit) {
    std::u16string text;
    UnicodeText::AppendCodePoint(text, unit & 0xFFFF);
    return UnicodeText::Utf16ToUtf8(text);
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
}  // namespace

std::string EscapeKey(std::string_view key) {
    std::string out;
    const std::u16string units = UnicodeText::Utf8ToUtf16(key);
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t c = units[i];
        char code[8];
        // A final "\" would escape the "=" written after it.
        if (c == u'/' && i + 1 < units.size()) {
            out += '\\';
        } else if (IsKeyCharacter(c)) {
            out += static_cast<char>(c);
        } else {
            std::snprintf(code, sizeof code, c <= 0xFF ? "%%%02X" : "%%U%04X", unsigned{c});
            out += code;
        }
    }
    return out;
}

std::string UnescapeKey(std::string_view escaped) {
    const std::u16string units = UnicodeText::Utf8ToUtf16(escaped);
    std::u16string out;
    for (std::size_t i = 0; i < units.size();) {
        const char16_t c = units[i];
        if (c == u'\\') {
            out += u'/';
            ++i;
            continue;
        }
        const std::size_t first = i + 1 < units.size() && units[i + 1] == u'U' ? i + 2 : i + 1;
        const std::size_t digits = first == i + 2 ? 4 : 2;
        unsigned value = 0;
        bool ok = c == u'%' && i + 1 < units.size() && first + digits <= units.size();
        for (std::size_t d = first; ok && d < first + digits; ++d) {
            const int digit = units[d] < 0x80 ? HexDigit(static_cast<char>(units[d])) : -1;
            ok = digit >= 0;
            value = value * 16 + static_cast<unsigned>(digit);
        }
        out += ok ? static_cast<char16_t>(value) : c;
        i = ok ? first + digits : i + 1;
    }
    return UnicodeText::Utf16ToUtf8(out);
}

std::string EscapeValue(std::string_view value) {
    static constexpr std::string_view kNamed = "\a\b\f\n\r\t\v", kLetters = "abfnrtv";
    std::string text(value.starts_with('@') ? "@" : "");
    text += value;
    std::string out;
    bool quote = false, escapeHexDigit = false;
    for (const char c : text) {
        quote = quote || c == ';' || c == ',' || c == '=';
        char code[8];
        if (escapeHexDigit && HexDigit(c) >= 0) {
            std::snprintf(code, sizeof code, "\\x%x", unsigned{static_cast<unsigned char>(c)});
            out += code;
            continue;
        }
        escapeHexDigit = false;
        if (const auto named = kNamed.find(c); named != std::string_view::npos) {
            out += '\\';
            out += kLetters[named];
        } else if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\0') {
            out += "\\0";
            escapeHexDigit = true;
        } else if (static_cast<unsigned char>(c) <= 0x1F) {
            std::snprintf(code, sizeof code, "\\x%x", unsigned{static_cast<unsigned char>(c)});
            out += code;
            escapeHexDigit = true;
        } else {
            out += c;
        }
    }
    if (quote || (!out.empty() && (out.front() == ' ' || out.back() == ' '))) out = '"' + out + '"';
    return out;
}

namespace {
// Reads the value's text from `at`, as the settings files escape it.
class ValueReader {
  public:
    explicit ValueReader(std::string_view text) : m_text(text) {}

    std::optional<std::string> Read() {
        SkipBlanks();
        while (m_at < m_text.size()) {
            const char c = m_text[m_at++];
            if (c == '\\') {
                Escape();
            } else if (c == '"') {
                m_quoted = true;
                m_inQuotes = !m_inQuotes;
                if (!m_inQuotes) SkipBlanks();
            } else if (c == ',' && !m_inQuotes) {
                EndElement();
                SkipBlanks();
            } else {
                m_current += c;
            }
        }
        if (!m_quoted) ChopBlanks();
        // A list (elements between unquoted commas) is no single text.
        return m_list ? std::string() : Decoded(m_current);
    }

  private:
    void Escape() {
        static constexpr std::string_view kLetters = "abfnrtv\"?'\\",
                                          kValues = "\a\b\f\n\r\t\v\"?'\\";
        m_keep = m_current.size();  // a final "\" keeps the blanks before it
        if (m_at >= m_text.size()) return;
        const char c = m_text[m_at++];
        if (const auto named = kLetters.find(c); named != std::string_view::npos) {
            m_current += kValues[named];
        } else if (c == 'x' && m_at < m_text.size() && HexDigit(m_text[m_at]) >= 0) {
            m_current += Utf8OfUnit(Number(16));
        } else if (c >= '0' && c <= '7') {
            --m_at;
            m_current += Utf8OfUnit(Number(8));
        } else if ((c == '\n' || c == '\r') && m_at < m_text.size() &&
                   (m_text[m_at] == '\n' || m_text[m_at] == '\r') && m_text[m_at] != c) {
            ++m_at;  // an escaped line end (\r\n or \n\r) is left out
        }
        m_keep = m_current.size();
    }

    char32_t Number(int base) {
        char32_t value = 0;
        for (; m_at < m_text.size(); ++m_at) {
            const int digit = HexDigit(m_text[m_at]);
            if (digit < 0 || digit >= base) break;
            value = value * static_cast<char32_t>(base) + static_cast<char32_t>(digit);
        }
        return value;
    }

    void SkipBlanks() {
        while (m_at < m_text.size() && IsBlank(m_text[m_at])) ++m_at;
        m_keep = m_current.size();
    }

    void ChopBlanks() {
        while (m_current.size() > m_keep && IsBlank(m_current.back())) m_current.pop_back();
    }

    void EndElement() {
        m_list = true;
        m_current.clear();
        m_quoted = false;
    }

    // "@@…" is a text beginning with "@"; "@Invalid()" no value at all.
    static std::optional<std::string> Decoded(const std::string& text) {
        if (text == "@Invalid()") return std::nullopt;
        if (text.starts_with("@@")) return text.substr(1);
        for (const std::string_view wrapper : {"@String(", "@ByteArray("})
            if (text.starts_with(wrapper) && text.ends_with(')'))
                return text.substr(wrapper.size(), text.size() - wrapper.size() - 1);
        return text;
    }

    std::string_view m_text;
    std::size_t m_at = 0, m_keep = 0;
    std::string m_current;
    bool m_list = false, m_inQuotes = false, m_quoted = false;
};
}  // namespace

std::optional<std::string> UnescapeValue(std::string_view escaped) {
    return ValueReader(escaped).Read();
}

std::string StandAloneValue(std::string_view escaped) {
    const std::string written = "k=" + std::string(escaped) + "\n";
    std::size_t at = 0, equals = 0;
    std::string_view line;
    if (NextLine(written, at, line, equals) && line.size() + 1 == written.size())
        return std::string(escaped);
    const std::optional<std::string> value = UnescapeValue(escaped);
    return value ? EscapeValue(*value) : "@Invalid()";
}

bool NextLine(std::string_view data, std::size_t& at, std::string_view& line, std::size_t& equals) {
    const auto isSpace = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    std::size_t start = at;
    while (start < data.size() && isSpace(data[start])) ++start;
    std::size_t i = start;
    bool inQuotes = false;
    equals = std::string_view::npos;
    while (i < data.size()) {
        const char c = data[i++];
        if (c == '=' && !inQuotes && equals == std::string_view::npos) {
            equals = i - 1 - start;
        } else if ((c == '\n' || c == '\r') && i == start + 1) {
            ++start;
        } else if ((c == '\n' || c == '\r' || c == ';') && !inQuotes && i != start + 1) {
            --i;
            break;
        } else if (c == ';' && i == start + 1) {
            // A comment line: skipped with the blanks after it.
            while (i < data.size() && data[i] != '\n' && data[i] != '\r') ++i;
            while (i < data.size() && isSpace(data[i])) ++i;
            start = i;
        } else if (c == '\\' && i < data.size()) {
            const char escaped = data[i++];
            if (i < data.size() && (escaped == '\n' || escaped == '\r') &&
                (data[i] == '\n' || data[i] == '\r') && data[i] != escaped)
                ++i;
        } else if (c == '"') {
            inQuotes = !inQuotes;
        }
    }
    at = i;
    line = data.substr(start, i - start);
    return !line.empty();
}

}  // namespace IniText
