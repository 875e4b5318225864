#include "ShortNameRules.h"

#include <QHash>
#include <QRegularExpression>
#include <map>
#include <set>

#include "NameText.h"

namespace ShortNameRules {
namespace {
constexpr qsizetype kStemLimit = 31;
constexpr qsizetype kPrefixLimit = 29;

// Printable ASCII, upper case; ";" separates the version number in ISO 9660
// identifiers, so readers would cut a name at it.
QString ShortForm(const QString& name) {
    QString ascii = NameText::PrintableAscii(name);
    ascii.replace(u';', u'_');
    return ascii;
}

QString Upper(const QString& ascii) {
    return ascii.toUpper();
}

struct DirectoryEntry {
    QString dos;
    bool takesPart = false;  // numbered together with its equals, itself included
    bool valid = false;      // numbered in this pass
};

// First step: upper-cased names, "~digits" and long names cut to "…~".
std::vector<DirectoryEntry> FirstDirectoryNames(const std::vector<QString>& names) {
    std::vector<DirectoryEntry> entries(names.size());
    QHash<QString, int> counts;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const QString ascii = ShortForm(names[i]);
        DirectoryEntry& entry = entries[i];
        entry.dos = Upper(ascii.left(kStemLimit));
        const qsizetype tilde = entry.dos.indexOf(u'~');
        if (tilde >= 0 && NameText::IsDigits(entry.dos.mid(tilde + 1))) {
            entry.dos.truncate(tilde + 1);
            entry.takesPart = true;
        } else if (ascii.size() > kStemLimit) {
            entry.dos = Upper(ascii.left(kPrefixLimit)) + u'~';
            entry.takesPart = true;
        }
        ++counts[NameText::CaseKey(entry.dos)];
    }
    // Short names that map to the same text ("照片" and "文档" both give "__")
    // are numbered like long names.
    for (DirectoryEntry& entry : entries) {
        if (entry.takesPart || counts.value(NameText::CaseKey(entry.dos)) < 2) continue;
        entry.dos = entry.dos.left(kPrefixLimit) + u'~';
        entry.takesPart = true;
    }
    return entries;
}

// Second step: every group of equal "…~" names numbered ~1, ~2 … in list order.
void NumberDirectoryGroups(std::vector<DirectoryEntry>& entries) {
    QHash<QString, std::vector<int>> groups;
    for (std::size_t i = 0; i < entries.size(); ++i)
        groups[NameText::CaseKey(entries[i].dos)].push_back(static_cast<int>(i));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const QString x = entries[i].dos;
        if (!x.contains(u'~')) continue;
        auto group = groups.find(NameText::CaseKey(x));
        if (group == groups.end()) continue;
        int counter = 1;
        std::vector<int> waiting;
        for (const int j : *group) {
            DirectoryEntry& member = entries[static_cast<std::size_t>(j)];
            if (member.valid) continue;
            if (static_cast<std::size_t>(j) == i && !member.takesPart) {
                waiting.push_back(j);
                continue;
            }
            member.dos = TildeNumber(x, counter++);
            member.valid = true;
        }
        *group = std::move(waiting);
    }
}

// Where a later sibling repeats an earlier short name, count on from the
// name's own number until the name is free.
class UniqueGuard {
  public:
    UniqueGuard(std::vector<QString>& names, bool files) : m_names(names), m_files(files) {
        for (const QString& name : names) m_taken.insert(NameText::CaseKey(name));
    }

    void Run() {
        std::set<QString> seen;
        for (QString& name : m_names) {
            if (seen.insert(NameText::CaseKey(name)).second) continue;
            name = FreeName(name);
            seen.insert(NameText::CaseKey(name));
        }
    }

  private:
    QString FreeName(const QString& name) {
        const qsizetype dot = m_files ? name.lastIndexOf(u'.') : -1;
        const QString base = dot < 0 ? name : name.left(dot);
        const QString extension = dot < 0 ? QString() : name.mid(dot + 1);
        static const QRegularExpression numbered(QStringLiteral("^(.*~)(\\d+)$"));
        const auto match = numbered.match(base);
        const QString key = NameText::CaseKey(name);
        int& counter = m_next[key];
        if (counter == 0) counter = match.hasMatch() ? match.captured(2).toInt() + 1 : 1;
        for (;; ++counter) {
            QString candidate = match.hasMatch() ? TildeNumber(match.captured(1), counter)
                                                 : Numbered(base, counter);
            if (!extension.isEmpty()) candidate += u'.' + extension;
            if (m_taken.insert(NameText::CaseKey(candidate)).second) return candidate;
        }
    }

    QString Numbered(const QString& base, int counter) const {
        return m_files ? TildeRename(base, counter)
                       : TildeNumber(base.left(kPrefixLimit) + u'~', counter);
    }

    std::vector<QString>& m_names;
    bool m_files;
    std::set<QString> m_taken;
    std::map<QString, int> m_next;
};

// A file name numbered from its part before the first "."; the extension
// stays only when the name had exactly one ".".
QString NumberedFileName(const QString& dos, int counter) {
    const QStringList parts = dos.split(u'.');
    QString result = TildeRename(parts.front(), counter);
    if (parts.size() == 2 && !parts[1].isEmpty()) result += u'.' + parts[1];
    return result;
}

class FileNumbering {
  public:
    explicit FileNumbering(std::vector<QString>& dos) : m_dos(dos) {
        for (std::size_t i = 0; i < dos.size(); ++i)
            m_groups[dos[i].left(kPrefixLimit)].insert(static_cast<int>(i));
    }

    void Rename(int index, const QString& name) {
        QString& current = m_dos[static_cast<std::size_t>(index)];
        m_groups[current.left(kPrefixLimit)].erase(index);
        current = name;
        m_groups[current.left(kPrefixLimit)].insert(index);
    }

    // Members of the group of `prefix`, in list order.
    std::vector<int> Group(const QString& prefix) const {
        const auto found = m_groups.find(prefix);
        return found == m_groups.end()
                   ? std::vector<int>{}
                   : std::vector<int>(found->second.begin(), found->second.end());
    }

  private:
    std::vector<QString>& m_dos;
    std::map<QString, std::set<int>> m_groups;  // first 29 characters -> files
};
}  // namespace

QString TildeRename(const QString& stem, int n) {
    const QString digits = QString::number(n);
    return stem.left(std::max<qsizetype>(0, stem.size() - digits.size() - 1)) + u'~' + digits;
}

QString TildeNumber(const QString& x, int n) {
    const QString digits = QString::number(n);
    return x.left(std::max<qsizetype>(0, x.size() - digits.size())) + u'~' + digits;
}

std::vector<QString> DirectoryNames(const std::vector<QString>& names) {
    std::vector<DirectoryEntry> entries = FirstDirectoryNames(names);
    NumberDirectoryGroups(entries);
    std::vector<QString> result;
    result.reserve(entries.size());
    for (const auto& entry : entries) result.push_back(entry.dos);
    UniqueGuard(result, false).Run();
    return result;
}

std::vector<QString> FileNames(const std::vector<QString>& names) {
    std::vector<QString> dos;
    std::vector<bool> longStem;
    for (const QString& name : names) {
        const QString ascii = ShortForm(name);
        const qsizetype dot = ascii.lastIndexOf(u'.');
        const QString base = dot < 0 ? ascii : ascii.left(dot);
        const QString extension = dot < 0 ? QString() : ascii.mid(dot + 1);
        dos.push_back(Upper(base.left(kStemLimit)) + u'.' + Upper(extension.left(3)));
        longStem.push_back(base.size() > kStemLimit);
    }
    FileNumbering numbering(dos);
    for (std::size_t i = 0; i < dos.size(); ++i) {
        if (dos[i].left(kStemLimit).contains(u'~')) continue;
        const std::vector<int> group = numbering.Group(dos[i].left(kPrefixLimit));
        if (group.size() > 1) {
            int counter = 1;
            for (const int j : group)
                numbering.Rename(j, NumberedFileName(dos[static_cast<std::size_t>(j)], counter++));
        } else if (!dos[i].contains(u'~') && longStem[i]) {
            numbering.Rename(static_cast<int>(i), NumberedFileName(dos[i], 1));
        }
    }
    UniqueGuard(dos, true).Run();
    return dos;
}

}  // namespace ShortNameRules
