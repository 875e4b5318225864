#pragma once

#include <cstdint>
#include <iosfwd>
#include <mutex>
#include <string>
#include <vector>

// The output of a recording on several drives at once: each drive's lines
// name the drive ("drive 2: ..."), and on a terminal one progress line with
// every drive's percentage stays below them. Called from the drives' threads.
class ParallelLines {
  public:
    // `numbers`: the drives' numbers as --drive gave them.
    ParallelLines(std::ostream& err, std::vector<int> numbers);

    // A line (or several) of drive `index` (its place in `numbers`).
    void Line(std::size_t index, const std::string& text);
    void Progress(std::size_t index, int percent);
    // Ends the progress line.
    void Finish();
    int Number(std::size_t index) const { return m_numbers.at(index); }

  private:
    void Redraw();  // m_mutex held
    void CloseLine();

    std::mutex m_mutex;  // guards the stream and the members below
    std::ostream& m_err;
    const bool m_terminal;
    const std::vector<int> m_numbers;
    std::vector<int> m_percent;
    bool m_lineOpen = false;
    std::int64_t m_drawnAt = 0;
};
