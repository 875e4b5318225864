#include "WildcardMatch.h"

namespace {
using View = std::u16string_view;

// The index after the "]" that closes the list opened at pattern[open], or
// npos when the list is not closed.
std::size_t BracketEnd(View pattern, std::size_t open) {
    const std::size_t close = pattern.find(u']', open + 1);
    return close == View::npos ? View::npos : close + 1;
}

bool InList(char16_t unit, View list) {
    const bool negate = !list.empty() && list.front() == u'!';
    const View items = negate ? list.substr(1) : list;
    bool found = false;
    for (std::size_t i = 0; i < items.size() && !found; ++i) {
        if (i + 2 < items.size() && items[i + 1] == u'-') {
            found = unit >= items[i] && unit <= items[i + 2];
            i += 2;
        } else {
            found = unit == items[i];
        }
    }
    return found != negate;
}

bool MatchOne(View pattern, std::size_t& p, char16_t unit) {
    const char16_t token = pattern[p];
    if (token == u'?') return ++p, true;
    if (token == u'#') return ++p, unit >= u'0' && unit <= u'9';
    if (token == u'[') {
        const std::size_t end = BracketEnd(pattern, p);
        if (end != View::npos) {
            const bool ok = InList(unit, pattern.substr(p + 1, end - p - 2));
            p = end;
            return ok;
        }
    }
    return ++p, token == unit;
}
}  // namespace

bool WildcardMatch(View name, View pattern) {
    // Iterative match with one backtrack point for the last "*" seen.
    std::size_t n = 0, p = 0, starP = View::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == u'*') {
            starP = ++p;
            starN = n;
            continue;
        }
        std::size_t next = p;
        if (p < pattern.size() && MatchOne(pattern, next, name[n])) {
            p = next;
            ++n;
            continue;
        }
        if (starP == View::npos) return false;
        p = starP;
        n = ++starN;
    }
    while (p < pattern.size() && pattern[p] == u'*') ++p;
    return p == pattern.size();
}
