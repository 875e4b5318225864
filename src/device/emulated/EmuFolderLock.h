#pragma once

#include <cstdint>
#include <memory>
#include <string>

// The locks that let several processes share one virtual drive folder, on
// two files beside the metadata (flock or LockFileEx, so they vanish with a
// crashed process):
// - "drive.lock": held exclusively for a whole operation (a recording,
//   erase or copy, inserting or taking out a disc), shared for each command;
// - "state.lock": held exclusively while one command reads the state,
//   changes it and writes it back, so no change of another process is lost.
class EmuFolderLock {
  public:
    // nullptr with `error` set when the lock files cannot be opened.
    static std::unique_ptr<EmuFolderLock> Open(const std::string& folder, std::string& error);
    ~EmuFolderLock();
    EmuFolderLock(const EmuFolderLock&) = delete;
    EmuFolderLock& operator=(const EmuFolderLock&) = delete;

    // What taking a lock came to.
    enum class Taken {
        Yes,
        InUse,   // another process holds it (nothing is held)
        Failed,  // the system refused the lock itself (nothing is held)
    };
    // Takes "drive.lock" exclusively. Commands of other processes hold it
    // only for a moment, so they are waited for (a few seconds at most);
    // InUse when another process holds it for an operation.
    Taken BeginOperation();
    void EndOperation();
    // Takes "drive.lock" shared, then "state.lock". InUse when another
    // process runs an operation.
    Taken BeginCommand();
    void EndCommand();

  private:
    // How a lock file is held; the "Now" holds fail at once when another
    // process is in the way, Exclusive waits.
    enum class Hold { Exclusive, ExclusiveNow, SharedNow, None };
    // The lock file's part (platform parts, one system call each): the open
    // file (kNoFile with `error` set on failure), its close and its holds
    // (InUse only for a "Now" hold that another process is in the way of).
    static constexpr std::intptr_t kNoFile = -1;
    static std::intptr_t OpenLockFile(const std::string& path, std::string& error);
    static void CloseLockFile(std::intptr_t file);
    static Taken Lock(std::intptr_t file, Hold hold);

    EmuFolderLock(std::intptr_t driveLock, std::intptr_t stateLock)
        : m_drive(driveLock), m_state(stateLock) {}
    std::intptr_t m_drive = kNoFile;
    std::intptr_t m_state = kNoFile;
};
