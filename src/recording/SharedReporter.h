#pragma once

#include <atomic>
#include <mutex>
#include <string>

#include "EngineReporter.h"

// One reporter shared by two threads of one job (the reading and the
// recording of a copy between two drives): every call goes through one
// lock. The reading side's view shows only its messages (the recording's
// phases and progress are shown), stops only when told (Stop), and is silent
// from then on.
class SharedReporter : public EngineReporter {
  public:
    enum class Side { Reading, Recording };

    SharedReporter(EngineReporter& inner, std::mutex& lock, Side side)
        : m_inner(inner), m_lock(lock), m_side(side) {}

    // The job ends: the reading stops at its next command, unheard.
    void Stop() { m_stopped = true; }

    void PhaseText(const std::string& text) override;
    void PercentText(const std::string& text) override;
    void ElapsedText(const std::string& text) override;
    void Progress(int value) override;
    MessageAnswer Message(const std::string& text, const std::string& title, MessageIcon icon,
                          MessageButtons buttons) override;
    void BufferLevels(int fifoPercent, int drivePercent) override;
    bool CancelRequested() override;

  private:
    bool Shows() const { return m_side == Side::Recording; }

    EngineReporter& m_inner;
    std::mutex& m_lock;  // guards every call to m_inner
    const Side m_side;
    std::atomic<bool> m_stopped{false};
};
