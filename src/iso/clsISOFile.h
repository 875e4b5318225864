#pragma once

#include <cstdint>
#include <string>

#include "LocalDateTime.h"

class clsISOFiles;

// One file of the disc: the local file it comes from, its names and where its
// data lies in the image. Names are UTF-8.
class clsISOFile {
  public:
    clsISOFile(std::string localPath, std::string name)
        : m_localPath(std::move(localPath)), m_name(std::move(name)) {}

    const std::string& name() const { return m_name; }
    // A name that is not usable (empty, "." or "..") leaves the name unchanged.
    void SetName(const std::string& name);
    const std::string& LocalPath() const { return m_localPath; }
    void SetLocalPath(const std::string& path) { m_localPath = path; }
    // Length in bytes, refreshed from the local file when the layout is made.
    std::int64_t Size() const { return m_size; }
    void SetSize(std::int64_t size) { m_size = size; }
    const LocalDateTime& CreationDate() const { return m_creation; }
    void SetCreationDate(const LocalDateTime& date) { m_creation = date; }
    const std::string& DOSName() const { return m_dosName; }
    void SetDOSName(const std::string& name) { m_dosName = name; }
    const std::string& JolietName() const { return m_jolietName; }
    void SetJolietName(const std::string& name) { m_jolietName = name; }
    // First sector of the data; 0 for an empty file.
    std::int32_t LBA() const { return m_lba; }
    void SetLBA(std::int32_t lba) { m_lba = lba; }
    // A file already recorded in an earlier session of the disc: its data
    // stays where it is (LBA and Size are fixed), only its records are new.
    bool OnDisc() const { return m_onDisc; }
    void SetOnDisc(bool onDisc) { m_onDisc = onDisc; }

  private:
    friend class clsISOFiles;
    clsISOFiles* m_owner = nullptr;  // told about renames so its name index stays true
    std::string m_localPath;
    // While an image is laid out, naming (the layout's thread) writes only
    // the two names and the examination threads only the size and the date:
    // neither reads the other's fields until both are done.
    std::string m_name, m_dosName, m_jolietName;
    std::int64_t m_size = 0;
    LocalDateTime m_creation;
    std::int32_t m_lba = 0;
    bool m_onDisc = false;
};
