#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>

// The handshake between an engine's worker thread and its window's thread:
// the worker hands a call over (a question, a file dialog) and waits until
// the window's thread has run it, or until the window has gone, when the
// call is never run; and the window's stop request for the worker. The
// window side posts the calls with its event loop (EngineRunner); this part
// is free of Qt, so that it is tested under ThreadSanitizer.
class WindowThreadCalls {
  public:
    // Posts a call to run later on the window's thread. Calls still queued
    // when the window goes are dropped, never run.
    using Poster = std::function<void(std::function<void()>)>;
    explicit WindowThreadCalls(Poster post) : m_post(std::move(post)) {}

    // From the worker: runs `call` on the window's thread and waits for it.
    // Returns at once, without running it, once Abandon was called.
    void Run(const std::function<void()>& call);
    // From the window's thread as the window goes: a waiting worker goes on
    // (its call is dropped with the window's queue), later calls return at once.
    void Abandon();
    // True while a worker waits in Run.
    bool Waiting() const;

    // The window's stop request, read by the worker between blocks.
    void RequestStop(bool stop) { m_stop.store(stop); }
    bool StopRequested() const { return m_stop.load(); }

  private:
    const Poster m_post;
    // m_done, m_abandoned and m_waiting are shared by both threads: under m_mutex.
    mutable std::mutex m_mutex;
    std::condition_variable m_ran;
    bool m_done = false;
    bool m_abandoned = false;
    bool m_waiting = false;
    std::atomic<bool> m_stop{false};
};
