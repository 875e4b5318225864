#pragma once

#include <cstdint>
#include <string>

// An exclusive lock on a file, held by this object and taken without waiting
// (flock on POSIX, LockFileEx on Windows). The system lets it go when the
// holding process ends, so a job that crashed leaves nothing locked.
class FileLock {
  public:
    // Opens `path` (creating it, never through a link) and tries to lock it.
    explicit FileLock(std::string path);
    // Unlocks and closes.
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // True while this object holds the lock.
    bool Held() const { return m_held; }
    // True while the locked file is still the one at its path (another
    // program's clean-up may have removed it between its creation and the lock).
    bool StillAtPath() const;
    // Lets go of the lock where the system cannot delete a file held open
    // (Windows); a no-op elsewhere, so that the lock covers a removal.
    void ReleaseForRemoval();

  private:
    void Close();

    std::string m_path;
    std::intptr_t m_file = -1;
    bool m_held = false;
};
