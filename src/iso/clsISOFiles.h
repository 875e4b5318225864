#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "clsISOFile.h"

// The ordered file list of one directory, with the sectors of that
// directory's own extents.
class clsISOFiles {
  public:
    // Adds a local file under `name` (empty: the last part of `localfile`).
    // Returns nullptr for an empty path, a name with "\", a name that is not
    // usable (NameText::IsUsableName) or one that a file of this list already
    // has, ignoring case. Unless `examine` is false, its size and date are
    // taken now (else they are 0 until an image is laid out, which takes them
    // anyway).
    clsISOFile* Add(const std::string& localfile, const std::string& name, bool examine = true);
    // The same, except that a name already taken is numbered ("readme (2).txt")
    // so that both files are kept.
    clsISOFile* AddNumbered(const std::string& localfile, const std::string& name,
                            bool examine = true);
    // Adds a file recorded in an earlier session (OnDisc) at `lba` with
    // `size` bytes; a name already taken is numbered. nullptr for a name
    // that is not usable.
    clsISOFile* AddOnDisc(const std::string& name, std::int32_t lba, std::int64_t size,
                          const LocalDateTime& date);
    // Removes the file at `index` (0-based); later files move down.
    void Remove(int index);
    void Clear();
    int count() const { return static_cast<int>(m_files.size()); }
    // File by 0-based index; nullptr outside the list.
    clsISOFile* File(int index) const;
    // True when a file's name equals `name`, ignoring case.
    bool FileExists(const std::string& name) const;

    std::int32_t LBA() const { return m_lba; }
    void SetLBA(std::int32_t value) { m_lba = value; }
    std::int32_t Blocks() const { return m_blocks; }
    void SetBlocks(std::int32_t value) { m_blocks = value; }
    std::int32_t LBAJoliet() const { return m_lbaJoliet; }
    void SetLBAJoliet(std::int32_t value) { m_lbaJoliet = value; }
    std::int32_t BlocksJoliet() const { return m_blocksJoliet; }
    void SetBlocksJoliet(std::int32_t value) { m_blocksJoliet = value; }

  private:
    friend class clsISOFile;
    void NamesChanged() { m_indexValid = false; }
    // Adds a file under a name (case key `key`) that no file has; nullptr
    // for a name that is not allowed.
    clsISOFile* Insert(const std::string& localfile, const std::string& name, std::u16string key,
                       bool examine);
    using NameIndex = std::unordered_map<std::u16string, clsISOFile*>;
    const NameIndex& Index() const;

    std::vector<std::unique_ptr<clsISOFile>> m_files;
    // Case key -> first file of that name; rebuilt lazily after renames and removals.
    mutable NameIndex m_index;
    mutable bool m_indexValid = true;
    std::int32_t m_lba = 0, m_blocks = 0, m_lbaJoliet = 0, m_blocksJoliet = 0;
};
