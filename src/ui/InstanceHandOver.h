#pragma once

#include <QString>
#include <functional>
#include <memory>

// Hands an image file the user opens while the program runs (an .iso opened
// from Explorer) to the running program instead of starting a second one.
// The running program listens; a second start hands its file over and ends
// when the running program took it. Windows only: elsewhere a second start
// meets the single-instance message as before.
class InstanceHandOver {
  public:
    // Decides in the window thread whether the running program takes `image`.
    using Receiver = std::function<bool(const QString& image)>;

    InstanceHandOver();
    // Stops listening; a file handed over meanwhile is refused.
    ~InstanceHandOver();
    InstanceHandOver(const InstanceHandOver&) = delete;
    InstanceHandOver& operator=(const InstanceHandOver&) = delete;

    // Starts listening for the holder of the instance lock (InstanceLock);
    // false when another program listens already or the system has no way.
    bool Listen(Receiver receiver);
    // Second start: true when the running program took `image`.
    static bool HandOver(const QString& image);

  private:
    struct Listener;
    std::unique_ptr<Listener> m_listener;
};
