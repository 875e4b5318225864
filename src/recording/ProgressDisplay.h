#pragma once

#include <cstdint>
#include <string>

#include "ElapsedTime.h"

class EngineReporter;

// The progress bar and the percentage and elapsed-time panels of a burn or
// copy, refreshed once per unit of work (chunk or sector). Only changes are
// passed on to the reporter.
class ProgressDisplay {
  public:
    explicit ProgressDisplay(EngineReporter& reporter) : m_reporter(reporter) {}

    // Starts the elapsed time now, or goes on counting from `since` (a step
    // of a job that the user sees as one, such as the verification).
    void Start() { m_elapsed = ElapsedTime(); }
    void Start(const ElapsedTime& since) { m_elapsed = since; }
    // `done` of `total` units. The bar takes done / total in percent and keeps
    // its value when that lies above 100; the percentage panel runs one ahead
    // of the bar ("1%" for 0.4 %) and never shows more than "100%"; an empty
    // job (total 0) shows "100%". Texts are made only when they change, so a
    // per-sector refresh of a 700 MB copy costs next to nothing.
    void Update(std::int64_t done, std::int64_t total);

    // Percentage panel text for a bar at `value` percent.
    static std::string PercentText(std::int64_t value);

  private:
    EngineReporter& m_reporter;
    ElapsedTime m_elapsed;
    int m_bar = -1;
    std::int64_t m_shownValue = -1;    // percent the text was made from
    std::int64_t m_shownSeconds = -1;  // elapsed seconds shown
};
