#pragma once

#include <QString>
#include <memory>

class QLockFile;

// Refuses a second running instance: a lock file in the user's runtime
// folder ($XDG_RUNTIME_DIR, else the program's temporary folder), held while the object lives. A
// lock left by a crashed run is recognised as stale and taken over.
class InstanceLock {
  public:
    InstanceLock();
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // True when this run now holds the lock (no other instance runs).
    bool TryLock();
    // Path of the lock file.
    static QString LockPath();

  private:
    std::unique_ptr<QLockFile> m_lock;
};
