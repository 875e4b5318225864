#pragma once

#include <cstddef>
#include <string>

#include "EngineReporter.h"

class ParallelLines;

// Engine reports of one of several drives recording at once: messages as
// lines that name the drive, the percentage on the shared progress line.
// Nothing is asked (the drives would ask at once): a question gets No or
// Cancel. A stop signal (Ctrl-C) stops every drive.
class ParallelReporter : public EngineReporter {
  public:
    ParallelReporter(ParallelLines& lines, std::size_t index) : m_lines(lines), m_index(index) {}

    void PhaseText(const std::string& text) override;
    void PercentText(const std::string& /*text*/) override {}
    void ElapsedText(const std::string& /*text*/) override {}
    void Progress(int value) override;
    MessageAnswer Message(const std::string& text, const std::string& title, MessageIcon icon,
                          MessageButtons buttons) override;
    bool CancelRequested() override;

  private:
    std::string Prefix() const;

    ParallelLines& m_lines;
    std::size_t m_index;
};
