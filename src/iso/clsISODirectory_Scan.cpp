// Adding a local folder to a directory of the disc.
#include <set>
#include <utility>

#include "NameText.h"
#include "UnicodeText.h"
#include "WildcardMatch.h"
#include "clsISODirectory.h"
#include "modFileAccess.h"

class clsISODirectory::Scan {
  public:
    Scan(const std::vector<std::string>& filter, bool recursive, std::vector<SkippedEntry>* skipped,
         bool examineFiles)
        : m_recursive(recursive), m_examineFiles(examineFiles), m_skipped(skipped) {
        for (const std::string& pattern : filter)
            m_filter.push_back(UnicodeText::Utf8ToUtf16(pattern));
    }

    void Folder(const std::string& folder, clsISODirectory& target) {
        const auto entries = modFileAccess::ListFolder(folder);
        if (!entries) return Skip(folder, "cannot be listed: " + modFileAccess::LastErrorText());
        const std::string prefix = folder.back() == '/' ? folder : folder + "/";
        for (const auto& entry : *entries) {
            if (entry.name.front() == '.') continue;
            if (!Matches(UnicodeText::Utf8ToUtf16(entry.name))) continue;
            const std::string discName =
                NameText::TrimSpaces(NameText::DiscNameFromLocal(entry.name));
            Entry(prefix + entry.name, entry, discName, target);
        }
    }

    // Marks a folder as entered; false when it was entered before (a bind
    // mount or hard-linked folder would otherwise loop).
    bool Enter(std::uint64_t device, std::uint64_t inode) {
        return m_visited.insert({device, inode}).second;
    }

  private:
    void Entry(const std::string& path, const modFileAccess::FolderEntry& entry,
               const std::string& discName, clsISODirectory& target) {
        using modFileAccess::EntryKind;
        if (discName.empty()) return Skip(path, "no name left once spaces are trimmed");
        if (entry.kind == EntryKind::RegularFile) {
            // The local path keeps the exact name; only the disc name is trimmed.
            if (target.Files().Add(path, discName, m_examineFiles) == nullptr)
                Skip(path, "a file of the same name (ignoring case) is already there");
            return;
        }
        if (entry.kind != EntryKind::Directory) {
            if (entry.linkToFolder) Skip(path, "link to a folder, not followed");
            return;
        }
        if (!m_recursive) return;
        if (!Enter(entry.device, entry.inode)) return Skip(path, "folder already added");
        clsISODirectory* child = target.AddSubDirectory(discName);
        if (child != nullptr) Folder(path, *child);
    }

    bool Matches(const std::u16string& name) const {
        for (const std::u16string& pattern : m_filter)
            if (WildcardMatch(name, pattern)) return true;
        return false;
    }

    void Skip(const std::string& path, const std::string& reason) {
        if (m_skipped != nullptr) m_skipped->push_back({path, reason});
    }

    std::vector<std::u16string> m_filter;
    bool m_recursive;
    bool m_examineFiles;
    std::vector<SkippedEntry>* m_skipped;
    std::set<std::pair<std::uint64_t, std::uint64_t>> m_visited;
};

void clsISODirectory::AddLocalDirectory(const std::string& directory,
                                        const std::vector<std::string>& filter, bool recursive,
                                        std::vector<SkippedEntry>* skipped, bool examineFiles) {
    if (directory.empty()) return;
    Scan scan(filter, recursive, skipped, examineFiles);
    if (const auto facts = modFileAccess::FileInfo(directory))
        scan.Enter(facts->device, facts->inode);
    scan.Folder(directory, *this);
}
