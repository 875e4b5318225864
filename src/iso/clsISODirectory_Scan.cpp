// Adding local files and folders to a directory of the disc.
#include <algorithm>
#include <filesystem>
#include <set>
#include <utility>

#include "NameText.h"
#include "UnicodeText.h"
#include "Utf8Path.h"
#include "WildcardMatch.h"
#include "clsISODirectory.h"
#include "modFileAccess.h"

namespace {
using modFileAccess::EntryKind;
using Kind = SkippedEntry::Kind;

std::string DiscName(const std::string& localName) {
    return NameText::TrimSpaces(NameText::DiscNameFromLocal(localName));
}

// Why a folder entry that is neither a file nor a folder is left out.
std::string SpecialReason(const modFileAccess::FolderEntry& entry) {
    if (entry.linkToFolder) return "link to a folder, not followed";
    if (entry.danglingLink) return "a link that leads nowhere";
    switch (entry.kind) {
        case EntryKind::Fifo:
            return "a named pipe";
        case EntryKind::Socket:
            return "a socket";
        case EntryKind::Device:
            return "a device";
        default:
            return "not a regular file or folder";
    }
}

// The name a folder given by path gets: "." and ".." stand for real folders.
std::string FolderName(const std::string& path) {
    const std::string last = NameText::LastPathPart(path);
    if (last != "." && last != "..") return last;
    std::error_code error;
    const auto resolved = std::filesystem::weakly_canonical(Utf8Path(path), error);
    return error ? std::string() : Utf8Of(resolved.filename());
}
}  // namespace

class clsISODirectory::Scan {
  public:
    Scan(const std::vector<std::string>& filter, bool recursive, std::vector<SkippedEntry>* notes,
         bool examineFiles)
        : m_recursive(recursive), m_examineFiles(examineFiles), m_notes(notes) {
        for (const std::string& pattern : filter)
            m_filter.push_back(UnicodeText::Utf8ToUtf16(pattern));
        m_matchAll = std::ranges::find(m_filter, u"*") != m_filter.end();
    }

    void Folder(const std::string& folder, clsISODirectory& target) {
        bool complete = true;
        const auto entries = modFileAccess::ListFolder(folder, &complete);
        if (!entries)
            return Note(Kind::Unreadable, folder,
                        "cannot be listed: " + modFileAccess::LastErrorText());
        if (!complete) {
            // Like a file that cannot be read whole: named, and the build fails.
            const std::string problem =
                "could not be listed completely: " + modFileAccess::LastErrorText();
            Note(Kind::Unreadable, folder, problem);
            target.SetListingProblem(folder, problem);
        }
        const std::string prefix = folder.back() == '/' ? folder : folder + "/";
        for (const auto& entry : *entries) {
            if (entry.name.front() == '.') continue;
            if (!m_matchAll && !Matches(UnicodeText::Utf8ToUtf16(entry.name))) continue;
            Entry(prefix + entry.name, entry, target);
        }
    }

    void AddFile(const std::string& path, const std::string& localName, clsISODirectory& target) {
        const std::string valid = UnicodeText::ValidUtf8(localName);
        const std::string name = DiscName(valid);
        // The local path keeps the exact name; only the disc name is changed.
        const clsISOFile* file = target.Files().AddNumbered(path, name, m_examineFiles);
        if (file == nullptr) return Note(Kind::Skipped, path, "no name to use on the disc");
        Renamed(path, valid != localName, name, file->name(), "a file");
    }

    void AddFolder(const std::string& path, const std::string& localName, clsISODirectory& target) {
        const std::string valid = UnicodeText::ValidUtf8(localName);
        const std::string name = DiscName(valid);
        clsISODirectory* child = target.AddNewSubDirectory(name);
        if (child == nullptr) return Note(Kind::Skipped, path, "no name to use on the disc");
        Renamed(path, valid != localName, name, child->name(), "a folder");
        Folder(path, *child);
    }

    // Marks a folder as entered; false when it was entered before (a bind
    // mount or hard-linked folder would otherwise loop).
    bool Enter(std::uint64_t device, std::uint64_t inode) {
        return m_visited.insert({device, inode}).second;
    }

  private:
    void Entry(const std::string& path, const modFileAccess::FolderEntry& entry,
               clsISODirectory& target) {
        if (entry.kind == EntryKind::RegularFile) return AddFile(path, entry.name, target);
        if (entry.kind != EntryKind::Directory)
            return Note(Kind::Skipped, path, SpecialReason(entry));
        if (!m_recursive) return;
        if (!Enter(entry.device, entry.inode))
            return Note(Kind::Skipped, path, "folder already added");
        AddFolder(path, entry.name, target);
    }

    // Tells about a disc name that differs from the local one for more than
    // trimmed spaces.
    void Renamed(const std::string& path, bool invalid, const std::string& wanted,
                 const std::string& given, const char* what) {
        if (!invalid && given == wanted) return;
        const std::string why = invalid ? "the name is not valid UTF-8"
                                        : std::string(what) + " of that name is already there";
        Note(Kind::Renamed, path, why + "; kept as \"" + given + "\"");
    }

    bool Matches(const std::u16string& name) const {
        for (const std::u16string& pattern : m_filter)
            if (WildcardMatch(name, pattern)) return true;
        return false;
    }

    void Note(Kind kind, const std::string& path, const std::string& reason) {
        if (m_notes != nullptr) m_notes->push_back({path, reason, kind});
    }

    std::vector<std::u16string> m_filter;
    bool m_matchAll = false;  // a "*" among the patterns
    bool m_recursive;
    bool m_examineFiles;
    std::vector<SkippedEntry>* m_notes;
    std::set<std::pair<std::uint64_t, std::uint64_t>> m_visited;
};

void clsISODirectory::AddLocalDirectory(const std::string& directory,
                                        const std::vector<std::string>& filter, bool recursive,
                                        std::vector<SkippedEntry>* notes, bool examineFiles) {
    if (directory.empty()) return;
    Scan scan(filter, recursive, notes, examineFiles);
    if (const auto facts = modFileAccess::FileInfo(directory))
        scan.Enter(facts->device, facts->inode);
    scan.Folder(directory, *this);
}

std::string clsISODirectory::AddLocalPath(const std::string& path, std::vector<SkippedEntry>* notes,
                                          bool examineFiles) {
    const auto facts = modFileAccess::FileInfo(path);
    if (!facts) return "cannot add " + path + ": " + modFileAccess::LastErrorText();
    Scan scan({"*"}, true, notes, examineFiles);
    if (facts->kind == EntryKind::RegularFile) {
        scan.AddFile(path, NameText::LastPathPart(path), *this);
        return {};
    }
    if (facts->kind != EntryKind::Directory)
        return "cannot add " + path + ": not a regular file or folder";
    const std::string name = FolderName(path);
    if (!NameText::IsUsableName(DiscName(name)))
        return "cannot add " + path + ": the folder has no name to use on the disc";
    scan.Enter(facts->device, facts->inode);
    scan.AddFolder(path, name, *this);
    return {};
}
