#include "ParallelLines.h"

#include <ostream>
#include <sstream>

#include "CliTexts.h"
#include "MonotonicClock.h"
#include "SystemAccess.h"

namespace {
constexpr std::int64_t kRedrawMs = 250;
}

ParallelLines::ParallelLines(std::ostream& err, std::vector<int> numbers)
    : m_err(err),
      m_terminal(SystemAccess::IsTerminal(2)),
      m_numbers(std::move(numbers)),
      m_percent(m_numbers.size(), 0) {}

void ParallelLines::Line(std::size_t index, const std::string& text) {
    const std::lock_guard lock(m_mutex);
    CloseLine();
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line))
        m_err << Text(CliText::DriveLine, {std::to_string(m_numbers.at(index)), line}) << "\n";
    m_err << std::flush;
    m_drawnAt = 0;
    Redraw();
}

void ParallelLines::Progress(std::size_t index, int percent) {
    const std::lock_guard lock(m_mutex);
    m_percent.at(index) = percent;
    Redraw();
}

void ParallelLines::Redraw() {
    if (!m_terminal) return;
    const std::int64_t now = MonotonicMilliseconds();
    if (m_drawnAt != 0 && now - m_drawnAt < kRedrawMs) return;
    m_drawnAt = now;
    std::string line = "\r";
    for (std::size_t i = 0; i < m_numbers.size(); ++i)
        line += "[" + std::to_string(m_numbers[i]) + "] " + std::to_string(m_percent[i]) + "%  ";
    m_err << line << "\033[K" << std::flush;
    m_lineOpen = true;
}

void ParallelLines::CloseLine() {
    if (m_lineOpen) m_err << "\r\033[K";
    m_lineOpen = false;
}

void ParallelLines::Finish() {
    const std::lock_guard lock(m_mutex);
    if (m_lineOpen) m_err << "\n" << std::flush;
    m_lineOpen = false;
}
