#include "WildcardMatch.h"

namespace {
// Matches name[at] against the bracket list starting after "[" at pattern[open];
// returns the index after "]" or -1 when the list is not closed.
qsizetype BracketEnd(const QString& pattern, qsizetype open) {
    const qsizetype close = pattern.indexOf(u']', open + 1);
    return close < 0 ? -1 : close + 1;
}

bool InList(QChar unit, const QString& list) {
    bool negate = list.startsWith(u'!');
    const QString items = negate ? list.mid(1) : list;
    bool found = false;
    for (qsizetype i = 0; i < items.size() && !found; ++i) {
        if (i + 2 < items.size() && items[i + 1] == u'-') {
            found = unit >= items[i] && unit <= items[i + 2];
            i += 2;
        } else {
            found = unit == items[i];
        }
    }
    return found != negate;
}

bool MatchOne(const QString& pattern, qsizetype& p, QChar unit) {
    const QChar token = pattern[p];
    if (token == u'?') return ++p, true;
    if (token == u'#') return ++p, unit.isDigit() && unit.unicode() < 0x80;
    if (token == u'[') {
        const qsizetype end = BracketEnd(pattern, p);
        if (end > 0) {
            const bool ok = InList(unit, pattern.mid(p + 1, end - p - 2));
            p = end;
            return ok;
        }
    }
    return ++p, token == unit;
}
}  // namespace

bool WildcardMatch(const QString& name, const QString& pattern) {
    // Iterative match with one backtrack point for the last "*" seen.
    qsizetype n = 0, p = 0, starP = -1, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == u'*') {
            starP = ++p;
            starN = n;
            continue;
        }
        qsizetype next = p;
        if (p < pattern.size() && MatchOne(pattern, next, name[n])) {
            p = next;
            ++n;
            continue;
        }
        if (starP < 0) return false;
        p = starP;
        n = ++starN;
    }
    while (p < pattern.size() && pattern[p] == u'*') ++p;
    return p == pattern.size();
}
