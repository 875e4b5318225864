#include "InstanceLock.h"

#include <QDir>
#include <QLockFile>

#include "ProgramPaths.h"

InstanceLock::InstanceLock() = default;
InstanceLock::~InstanceLock() = default;

QString InstanceLock::LockPath() {
    QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    // Without a runtime folder the user's own temporary folder holds the lock: a lock in the
    // shared /tmp would keep every other user from starting the program.
    if (folder.isEmpty() || !QDir(folder).exists()) folder = QString::fromStdString(TempFolder());
    return QDir(folder).filePath(QStringLiteral("maple-writer.lock"));
}

bool InstanceLock::TryLock() {
    if (m_lock && m_lock->isLocked()) return true;
    m_lock = std::make_unique<QLockFile>(LockPath());
    // Only a dead owner makes a lock stale, never its age.
    m_lock->setStaleLockTime(0);
    return m_lock->tryLock(0);
}
