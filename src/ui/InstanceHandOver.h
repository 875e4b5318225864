#pragma once

#include <QStringList>
#include <functional>
#include <memory>

// Hands what a second start was asked to open (an .iso, or files for the
// data disc or audio window, opened from the file manager) to the running
// program instead of starting a second one. The running program listens; a
// second start hands its arguments over and ends when the running program
// took care of them. Windows: a named pipe; elsewhere a local socket beside
// the instance lock ($XDG_RUNTIME_DIR).
class InstanceHandOver {
  public:
    // Decides in the window thread whether the running program takes care of
    // `arguments` (opens them, or says in its window why it does not).
    using Receiver = std::function<bool(const QStringList& arguments)>;

    InstanceHandOver();
    // Stops listening; arguments handed over meanwhile are refused.
    ~InstanceHandOver();
    InstanceHandOver(const InstanceHandOver&) = delete;
    InstanceHandOver& operator=(const InstanceHandOver&) = delete;

    // Starts listening for the holder of the instance lock (InstanceLock);
    // false when another program listens already or the system has no way.
    bool Listen(Receiver receiver);
    // Second start: true when the running program took care of `arguments`.
    static bool HandOver(const QStringList& arguments);

  private:
    // The arguments on the wire: UTF-8, each ended by a NUL (a file name
    // holds no NUL, unlike a newline).
    static QByteArray Message(const QStringList& arguments);
    static QStringList Arguments(const QByteArray& message);

    struct Listener;
    std::unique_ptr<Listener> m_listener;
};
