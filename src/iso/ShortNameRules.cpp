#include "ShortNameRules.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "NameText.h"

namespace ShortNameRules {
namespace {
constexpr std::size_t kStemLimit = 31;
constexpr std::size_t kPrefixLimit = 29;

// Printable ASCII; ";" separates the version number in ISO 9660
// identifiers, so readers would cut a name at it.
std::string ShortForm(const std::string& name) {
    std::string ascii = NameText::PrintableAscii(name);
    std::replace(ascii.begin(), ascii.end(), ';', '_');
    return ascii;
}

// Short names are ASCII, so ignoring case is comparing in lower case.
std::string CaseKey(std::string ascii) {
    for (char& c : ascii)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return ascii;
}

std::string Left(const std::string& text, std::size_t count) {
    return text.substr(0, std::min(count, text.size()));
}

bool Contains(const std::string& text, char c) {
    return text.find(c) != std::string::npos;
}

struct DirectoryEntry {
    std::string dos;
    bool takesPart = false;  // numbered together with its equals, itself included
    bool valid = false;      // numbered in this pass
};

// First step: upper-cased names, "~digits" and long names cut to "…~".
std::vector<DirectoryEntry> FirstDirectoryNames(const std::vector<std::string>& names) {
    std::vector<DirectoryEntry> entries(names.size());
    std::unordered_map<std::string, int> counts;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string ascii = ShortForm(names[i]);
        DirectoryEntry& entry = entries[i];
        entry.dos = NameText::AsciiUpper(Left(ascii, kStemLimit));
        const auto tilde = entry.dos.find('~');
        if (tilde != std::string::npos && NameText::IsDigits(entry.dos.substr(tilde + 1))) {
            entry.dos.resize(tilde + 1);
            entry.takesPart = true;
        } else if (ascii.size() > kStemLimit) {
            entry.dos = NameText::AsciiUpper(Left(ascii, kPrefixLimit)) + '~';
            entry.takesPart = true;
        }
        ++counts[CaseKey(entry.dos)];
    }
    // Short names that map to the same text ("照片" and "文档" both give "__")
    // are numbered like long names.
    for (DirectoryEntry& entry : entries) {
        if (entry.takesPart || counts[CaseKey(entry.dos)] < 2) continue;
        entry.dos = Left(entry.dos, kPrefixLimit) + '~';
        entry.takesPart = true;
    }
    return entries;
}

// Second step: every group of equal "…~" names numbered ~1, ~2 … in list order.
void NumberDirectoryGroups(std::vector<DirectoryEntry>& entries) {
    std::unordered_map<std::string, std::vector<int>> groups;
    for (std::size_t i = 0; i < entries.size(); ++i)
        groups[CaseKey(entries[i].dos)].push_back(static_cast<int>(i));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string x = entries[i].dos;
        if (!Contains(x, '~')) continue;
        auto group = groups.find(CaseKey(x));
        if (group == groups.end()) continue;
        int counter = 1;
        std::vector<int> waiting;
        for (const int j : group->second) {
            DirectoryEntry& member = entries[static_cast<std::size_t>(j)];
            if (member.valid) continue;
            if (static_cast<std::size_t>(j) == i && !member.takesPart) {
                waiting.push_back(j);
                continue;
            }
            member.dos = TildeNumber(x, counter++);
            member.valid = true;
        }
        group->second = std::move(waiting);
    }
}

// "…~digits": the part up to and with the last "~" and the number after it
// (0 when it does not fit a 32-bit integer).
struct TildeSuffix {
    std::string prefix;
    long long number = 0;
};
std::optional<TildeSuffix> SplitTildeNumber(const std::string& base) {
    const auto tilde = base.rfind('~');
    if (tilde == std::string::npos || !NameText::IsDigits(base.substr(tilde + 1)))
        return std::nullopt;
    TildeSuffix suffix{base.substr(0, tilde + 1)};
    for (std::size_t at = tilde + 1; at < base.size() && suffix.number <= 0x7FFFFFFF; ++at)
        suffix.number = suffix.number * 10 + (base[at] - '0');
    if (suffix.number > 0x7FFFFFFF) suffix.number = 0;
    return suffix;
}

// Where a later sibling repeats an earlier short name, count on from the
// name's own number until the name is free.
class UniqueGuard {
  public:
    UniqueGuard(std::vector<std::string>& names, bool files,
                const std::vector<std::string>& others = {})
        : m_names(names), m_files(files) {
        for (const std::string& name : others) m_others.insert(CaseKey(name));
        m_taken = m_others;
        for (const std::string& name : names) m_taken.insert(CaseKey(name));
    }

    void Run() {
        std::set<std::string> seen = m_others;
        for (std::string& name : m_names) {
            if (seen.insert(CaseKey(name)).second) continue;
            name = FreeName(name);
            seen.insert(CaseKey(name));
        }
    }

  private:
    std::string FreeName(const std::string& name) {
        const auto dot = m_files ? name.rfind('.') : std::string::npos;
        const std::string base = name.substr(0, dot);
        const std::string extension = dot == std::string::npos ? "" : name.substr(dot + 1);
        const auto numbered = SplitTildeNumber(base);
        long long& counter = m_next[CaseKey(name)];
        if (counter == 0) counter = numbered ? numbered->number + 1 : 1;
        for (;; ++counter) {
            std::string candidate =
                numbered ? TildeNumber(numbered->prefix, counter) : Numbered(base, counter);
            if (!extension.empty()) candidate += '.' + extension;
            if (m_taken.insert(CaseKey(candidate)).second) return candidate;
        }
    }

    std::string Numbered(const std::string& base, long long counter) const {
        return m_files ? TildeRename(base, counter)
                       : TildeNumber(Left(base, kPrefixLimit) + '~', counter);
    }

    std::vector<std::string>& m_names;
    bool m_files;
    std::set<std::string> m_others;  // names of the other list of the directory
    std::set<std::string> m_taken;
    std::map<std::string, long long> m_next;
};

// A file name numbered from its part before the first "."; the extension
// stays only when the name had exactly one ".".
std::string NumberedFileName(const std::string& dos, int counter) {
    const auto first = dos.find('.');
    std::string result = TildeRename(dos.substr(0, first), counter);
    if (first == std::string::npos) return result;
    const std::string rest = dos.substr(first + 1);
    if (!rest.empty() && !Contains(rest, '.')) result += '.' + rest;
    return result;
}

// True when numbering would leave the first-step file names as they are: no
// stem was cut, no two names share their first 29 characters and none equals
// another or one of `taken`, ignoring case.
bool NeedNoNumbers(const std::vector<std::string>& dos, const std::vector<bool>& longStem,
                   const std::vector<std::string>& taken) {
    if (std::ranges::find(longStem, true) != longStem.end()) return false;
    std::unordered_set<std::string_view> prefixes;
    std::unordered_set<std::string> keys;
    for (const std::string& name : taken) keys.insert(CaseKey(name));
    for (const std::string& name : dos)
        if (!prefixes.insert(std::string_view(name).substr(0, kPrefixLimit)).second ||
            !keys.insert(CaseKey(name)).second)
            return false;
    return true;
}

class FileNumbering {
  public:
    explicit FileNumbering(std::vector<std::string>& dos) : m_dos(dos) {
        for (std::size_t i = 0; i < dos.size(); ++i)
            m_groups[Left(dos[i], kPrefixLimit)].insert(static_cast<int>(i));
    }

    void Rename(int index, const std::string& name) {
        std::string& current = m_dos[static_cast<std::size_t>(index)];
        m_groups[Left(current, kPrefixLimit)].erase(index);
        current = name;
        m_groups[Left(current, kPrefixLimit)].insert(index);
    }

    // Members of the group of `prefix`, in list order.
    std::vector<int> Group(const std::string& prefix) const {
        const auto found = m_groups.find(prefix);
        return found == m_groups.end()
                   ? std::vector<int>{}
                   : std::vector<int>(found->second.begin(), found->second.end());
    }

  private:
    std::vector<std::string>& m_dos;
    std::map<std::string, std::set<int>> m_groups;  // first 29 characters -> files
};
}  // namespace

std::string TildeRename(const std::string& stem, long long n) {
    const std::string digits = std::to_string(n);
    return Left(stem, stem.size() > digits.size() ? stem.size() - digits.size() - 1 : 0) + '~' +
           digits;
}

std::string TildeNumber(const std::string& x, long long n) {
    const std::string digits = std::to_string(n);
    return Left(x, x.size() > digits.size() ? x.size() - digits.size() : 0) + '~' + digits;
}

std::vector<std::string> DirectoryNames(const std::vector<std::string>& names) {
    std::vector<DirectoryEntry> entries = FirstDirectoryNames(names);
    NumberDirectoryGroups(entries);
    std::vector<std::string> result;
    result.reserve(entries.size());
    for (const auto& entry : entries) result.push_back(entry.dos);
    UniqueGuard(result, false).Run();
    return result;
}

std::vector<std::string> FileNames(const std::vector<std::string>& names,
                                   const std::vector<std::string>& taken) {
    std::vector<std::string> dos;
    std::vector<bool> longStem;
    for (const std::string& name : names) {
        const std::string ascii = ShortForm(name);
        const auto dot = ascii.rfind('.');
        const std::string base = ascii.substr(0, dot);
        const std::string extension = dot == std::string::npos ? "" : ascii.substr(dot + 1);
        dos.push_back(NameText::AsciiUpper(Left(base, kStemLimit)) + '.' +
                      NameText::AsciiUpper(Left(extension, 3)));
        longStem.push_back(base.size() > kStemLimit);
    }
    if (NeedNoNumbers(dos, longStem, taken)) return dos;
    FileNumbering numbering(dos);
    for (std::size_t i = 0; i < dos.size(); ++i) {
        if (Contains(Left(dos[i], kStemLimit), '~')) continue;
        const std::vector<int> group = numbering.Group(Left(dos[i], kPrefixLimit));
        if (group.size() > 1) {
            int counter = 1;
            for (const int j : group)
                numbering.Rename(j, NumberedFileName(dos[static_cast<std::size_t>(j)], counter++));
        } else if (!Contains(dos[i], '~') && longStem[i]) {
            numbering.Rename(static_cast<int>(i), NumberedFileName(dos[i], 1));
        }
    }
    UniqueGuard(dos, true, taken).Run();
    return dos;
}

}  // namespace ShortNameRules
