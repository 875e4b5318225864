#pragma once

#include <functional>
#include <string>
#include <thread>

#include "TcmuRing.h"
#include "UioDevice.h"

// Answers a unit's command ring on a thread of its own until stopped: waits
// for the kernel's notice, answers every pending command, tells the kernel.
class TcmuServer {
  public:
    // `onFailure` runs on the server's thread when serving ends by itself
    // (a damaged ring, a failing device).
    TcmuServer(UioDevice& uio, TcmuCommandHandler& handler, std::function<void()> onFailure)
        : m_uio(uio), m_handler(handler), m_onFailure(std::move(onFailure)) {}
    ~TcmuServer();
    TcmuServer(const TcmuServer&) = delete;
    TcmuServer& operator=(const TcmuServer&) = delete;

    // Starts the thread; returns the reason when it cannot.
    std::string Start();
    // Stops after the command being answered. Returns why serving had ended
    // by itself, empty when it was still serving.
    std::string Stop();

  private:
    void Run();
    void Fail(std::string problem);

    UioDevice& m_uio;
    TcmuCommandHandler& m_handler;
    std::function<void()> m_onFailure;
    int m_stopFd = -1;
    std::thread m_thread;
    std::string m_problem;  // written by the thread, read after it ended
};
