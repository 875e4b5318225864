#pragma once

#include <atomic>
#include <optional>

// How the last run of an engine ended: set on the engine's thread, read on
// the window's. Empty before the first run.
template <typename Outcome>
class EngineOutcome {
  public:
    void Set(Outcome outcome) { m_value.store(static_cast<int>(outcome)); }
    std::optional<Outcome> Get() const {
        const int value = m_value.load();
        if (value < 0) return std::nullopt;
        return static_cast<Outcome>(value);
    }

  private:
    std::atomic<int> m_value{-1};
};
