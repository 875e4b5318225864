// The worker-to-window handshake of the engine runner, with a plain thread
// and queue in the window's place (its Qt side is tst_EngineRunner's).
#include "WindowThreadCalls.h"

#include <gtest/gtest.h>

#include <deque>
#include <thread>

namespace {

// A window's thread: runs posted calls in order until it goes, and drops the
// calls still queued then, as an event loop does with a destroyed receiver.
class FakeWindowThread {
  public:
    FakeWindowThread() : m_thread([this] { Loop(); }) {}
    ~FakeWindowThread() {
        PostClosing({});
        m_thread.join();
    }

    void Post(std::function<void()> call) {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_queue.push_back(std::move(call));
        m_posted.notify_all();
    }
    // The window goes once the calls before run (and `beforeClosing`, on its thread).
    void PostClosing(const std::function<void()>& beforeClosing) {
        Post([this, beforeClosing] {
            if (beforeClosing) beforeClosing();
            m_closing = true;
        });
    }
    std::thread::id Id() const { return m_thread.get_id(); }

  private:
    void Loop() {
        std::unique_lock<std::mutex> lock(m_mutex);
        while (!m_closing) {
            m_posted.wait(lock, [this] { return !m_queue.empty(); });
            std::function<void()> call = std::move(m_queue.front());
            m_queue.pop_front();
            lock.unlock();
            call();
            lock.lock();
        }
        m_queue.clear();  // dropped, never run
    }

    std::mutex m_mutex;
    std::condition_variable m_posted;
    std::deque<std::function<void()>> m_queue;
    bool m_closing = false;  // the window thread's own
    std::thread m_thread;
};

TEST(WindowThreadCalls, TheCallRunsOnTheWindowsThreadWhileTheWorkerWaits) {
    FakeWindowThread window;
    WindowThreadCalls calls([&window](std::function<void()> call) { window.Post(call); });
    std::thread::id ranOn;
    int answer = 0;
    std::thread worker([&] {
        calls.Run([&] {
            ranOn = std::this_thread::get_id();
            answer = 42;
        });
        EXPECT_EQ(answer, 42);  // the worker went on only once the call had run
    });
    worker.join();
    EXPECT_EQ(ranOn, window.Id());
    EXPECT_FALSE(calls.Waiting());
    calls.RequestStop(true);
    EXPECT_TRUE(calls.StopRequested());
}

TEST(WindowThreadCalls, AWindowThatGoesLetsAWaitingWorkerOnWithoutRunningItsCall) {
    FakeWindowThread window;
    WindowThreadCalls calls([&window](std::function<void()> call) { window.Post(call); });
    // The window goes while the worker's call waits behind the closing.
    window.PostClosing([&calls] {
        while (!calls.Waiting()) std::this_thread::yield();
        calls.Abandon();
    });
    bool ran = false;
    std::thread worker([&] {
        calls.Run([&ran] { ran = true; });
        calls.Run([&ran] { ran = true; });  // after the window went: returns at once
    });
    worker.join();
    EXPECT_FALSE(ran);
}

}  // namespace
