#include "NameText.h"

namespace NameText {

QString TrimSpaces(const QString& text) {
    qsizetype first = 0, last = text.size();
    while (first < last && text[first] == u' ') ++first;
    while (last > first && text[last - 1] == u' ') --last;
    return text.mid(first, last - first);
}

QString CaseKey(const QString& text) {
    return text.toCaseFolded();
}

QString PrintableAscii(const QString& text) {
    QString result;
    result.reserve(text.size());
    for (qsizetype at = 0; at < text.size(); ++at) {
        const QChar unit = text[at];
        if (unit.unicode() >= 0x20 && unit.unicode() < 0x7F) {
            result += unit;
            continue;
        }
        if (unit.isHighSurrogate() && at + 1 < text.size() && text[at + 1].isLowSurrogate()) ++at;
        result += u'_';
    }
    return result;
}

QString DiscNameFromLocal(const std::string& localName) {
    QString name = QString::fromUtf8(localName.data(), static_cast<qsizetype>(localName.size()));
    name.replace(u'\\', u'_');
    return name;
}

std::string LastPathPart(const std::string& path) {
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
    const auto slash = trimmed.rfind('/');
    return slash == std::string::npos ? trimmed : trimmed.substr(slash + 1);
}

bool IsDigits(const QString& text) {
    if (text.isEmpty()) return false;
    for (const QChar unit : text)
        if (unit < u'0' || unit > u'9') return false;
    return true;
}

}  // namespace NameText
