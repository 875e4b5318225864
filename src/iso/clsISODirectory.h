#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "clsISOFiles.h"

// What adding local files and folders left out or changed, for the caller to
// tell the user. Unreadable (a folder that could not be listed) is a failure
// the way an unreadable file is; the others are warnings.
struct SkippedEntry {
    enum class Kind { Skipped, Renamed, Unreadable };
    std::string localPath;
    std::string reason;
    Kind kind = Kind::Skipped;
};

// One directory of the disc: its ordered subdirectories and its file list.
// A parent owns its children; each child points back at its parent. Names
// are UTF-8.
class clsISODirectory {
  public:
    clsISODirectory() = default;
    clsISODirectory(const clsISODirectory&) = delete;
    clsISODirectory& operator=(const clsISODirectory&) = delete;

    // The child of that name (spaces trimmed, case ignored), created and
    // appended when missing; nullptr for a name that is not usable
    // (NameText::IsUsableName).
    clsISODirectory* AddSubDirectory(const std::string& name);
    // A new child, numbered ("photos (2)") when the name is taken; nullptr
    // for a name that is not usable.
    clsISODirectory* AddNewSubDirectory(const std::string& name);
    // Appends `directory` with its whole subtree (no name check); returns it.
    clsISODirectory* AddSubDirectoryByRef(std::unique_ptr<clsISODirectory> directory);
    // Detaches the child at `index` (0-based) and hands it back; unless
    // `KeepSubDirs`, its subtree is emptied first. nullptr outside the list.
    std::unique_ptr<clsISODirectory> RemoveSubDirectory(int index, bool KeepSubDirs);
    // Drops all children and empties Files.
    void Clear();
    bool SubDirExists(const std::string& name) const;
    int SubDirectoryCount() const { return static_cast<int>(m_children.size()); }
    // Child by 0-based index; nullptr outside the list.
    clsISODirectory* SubDirectory(int index) const;
    // "\" for the root, "\A\B\" for B inside A.
    std::string FullPath() const;
    // Adds the entries of local folder `directory` whose names match one of
    // `filter`: regular files to Files, subfolders (when `recursive`) as new
    // subdirectories. A name taken by an earlier entry is numbered, so that
    // nothing is lost; names that are not valid UTF-8 are kept with U+FFFD in
    // their place (the local path keeps the exact bytes). Entries whose names
    // begin with "." are left out silently; links to folders, special files
    // and dangling links are left out and noted, and so is a folder that
    // cannot be listed (as Unreadable).
    void AddLocalDirectory(const std::string& directory, const std::vector<std::string>& filter,
                           bool recursive, std::vector<SkippedEntry>* notes = nullptr,
                           bool examineFiles = true);
    // Adds a local file or folder the way a drop onto this directory does: a
    // file to Files, a folder (named by the last part of its resolved path, so
    // "." and "dir/.." name real folders) with its whole content as a new
    // subdirectory. Returns why nothing could be added, empty when added.
    // `examineFiles` as for clsISOFiles::Add.
    std::string AddLocalPath(const std::string& path, std::vector<SkippedEntry>* notes = nullptr,
                             bool examineFiles = true);

    clsISOFiles& Files() { return m_files; }
    const clsISOFiles& Files() const { return m_files; }
    clsISODirectory* Parent() const { return m_parent; }
    const std::string& name() const { return m_name; }
    // A name that is not usable (empty, "." or "..") leaves the name unchanged.
    void SetName(const std::string& name);
    const std::string& DOSName() const { return m_dosName; }
    void SetDOSName(const std::string& name) { m_dosName = name; }
    const std::string& JolietName() const { return m_jolietName; }
    void SetJolietName(const std::string& name) { m_jolietName = name; }
    std::int32_t DirectoryNumber() const { return m_directoryNumber; }
    void SetDirectoryNumber(std::int32_t number) { m_directoryNumber = number; }
    bool NameValid() const { return m_nameValid; }
    void SetNameValid(bool valid) { m_nameValid = valid; }
    // The local folder this directory was filled from, when it could not be
    // listed to its end, and why: an image built from it is incomplete.
    void SetListingProblem(std::string folder, std::string problem) {
        m_listedFolder = std::move(folder);
        m_listingProblem = std::move(problem);
    }
    const std::string& ListedFolder() const { return m_listedFolder; }
    const std::string& ListingProblem() const { return m_listingProblem; }

  private:
    class Scan;
    using NameIndex = std::unordered_map<std::u16string, clsISODirectory*>;
    const NameIndex& Index() const;

    clsISODirectory* m_parent = nullptr;
    std::vector<std::unique_ptr<clsISODirectory>> m_children;
    // Case key -> first child of that name; rebuilt lazily after renames and removals.
    mutable NameIndex m_index;
    mutable bool m_indexValid = true;
    clsISOFiles m_files;
    std::string m_name, m_dosName, m_jolietName;
    std::string m_listedFolder, m_listingProblem;
    std::int32_t m_directoryNumber = 0;
    bool m_nameValid = false;
};
