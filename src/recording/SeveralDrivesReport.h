#pragma once

#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "EngineReporter.h"

// The reports of several drives recording at once through one reporter (the
// record-image window's): every call goes through one lock; a drive's phases
// and warnings begin with its name; its "complete" box becomes a phase (the
// summary says it); the progress shown is the slowest running drive's.
class SeveralDrivesReport {
  public:
    SeveralDrivesReport(EngineReporter& inner, std::vector<std::string> names);
    ~SeveralDrivesReport();
    SeveralDrivesReport(const SeveralDrivesReport&) = delete;
    SeveralDrivesReport& operator=(const SeveralDrivesReport&) = delete;

    // Drive `index`'s reporter.
    EngineReporter& Drive(std::size_t index);
    // Drive `index` has ended: its progress no longer holds the bar back.
    void Ended(std::size_t index);

  private:
    class DriveView;
    std::string Named(std::size_t index, const std::string& text) const;
    void Progress(std::size_t index, int value);  // m_lock held

    EngineReporter& m_inner;
    const std::vector<std::string> m_names;
    std::mutex m_lock;            // guards every call to m_inner and the levels
    std::vector<int> m_progress;  // per drive; -1 once ended
    std::vector<std::unique_ptr<DriveView>> m_views;
};
